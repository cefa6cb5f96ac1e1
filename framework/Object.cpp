#include "framework/Object.h"

#include "framework/StringIds.h"

unsigned CResourceException::MessageId() const { return AFX_IDS_RESOURCE_EXCEPTION; }

unsigned CMemoryException::MessageId() const { return AFX_IDS_MEMORY_EXCEPTION; }

void AfxThrowResourceException() { throw CResourceException(); }

void AfxThrowUserException() { throw CUserException(); }
