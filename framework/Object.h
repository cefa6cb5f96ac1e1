#pragma once
// The root of the framework's classes and the errors the framework raises.

class CObject {
public:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;
};

// Raised errors are thrown by value and caught by reference at the boundary of a message handler.
class CException {
public:
    virtual ~CException() = default;
    // Id of the string that describes the error to the user, or 0 when the error has no message of
    // its own.
    virtual unsigned MessageId() const { return 0; }
};

// A system resource (a window, a handle) could not be obtained.
class CResourceException : public CException {
public:
    unsigned MessageId() const override;
};

// Memory is exhausted.
class CMemoryException : public CException {
public:
    unsigned MessageId() const override;
};

// A validation failure the user has already been told about.
class CUserException : public CException {};

[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();
