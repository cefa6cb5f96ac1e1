#pragma once
// The system's help engine as the tests meet it. On Windows a stand-in takes the engine's place
// while it lives: a window of the engine's class, which the system's help call finds and hands its
// request to, so that no help program starts. The stand-in speaks the engine's protocol as Wine's
// system help call does (a copy of the request record); Windows's own call speaks another. Qt's
// platforms have no engine.

#include <string>
#include <vector>

namespace test {

class HelpEngine {
public:
    HelpEngine();
    ~HelpEngine();
    HelpEngine(const HelpEngine&) = delete;
    HelpEngine& operator=(const HelpEngine&) = delete;

    struct Request {
        unsigned command;       // 1: show the topic with a context number
        unsigned long context;  // the topic's context number
        std::string file;       // the help file, as the system's code page writes it
    };
    std::vector<Request> requests;
    // When set, the stand-in answers each request as an engine that could not start does.
    bool refuses = false;

    // Whether this platform has a help engine at all.
    static bool Exists();
};

}  // namespace test
