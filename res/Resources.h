#pragma once
// The program's resources, handed to the framework at start-up.

#include "framework/Resources.h"

const ResourceTable& QuenzoResources();
