#pragma once
// Running the user-interface thread's message loop from code that waits for something.

#include <functional>

// Delivers messages until done() is true or timeoutMs milliseconds have passed; true when done()
// became true. done() is checked before waiting and after every batch of messages.
bool AfxPumpMessagesUntil(const std::function<bool()>& done, int timeoutMs);

// Delivers every message that is already waiting, without blocking.
void AfxPumpWaitingMessages();

// The platform under the framework: exists for the whole life of the program (or test run) and must
// be constructed before any window.
class CPlatform {
public:
    CPlatform(int& argc, char** argv);
    ~CPlatform();
    CPlatform(const CPlatform&) = delete;
    CPlatform& operator=(const CPlatform&) = delete;
};
