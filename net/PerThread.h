#pragma once
// One object of a type for each thread that asks for it, kept for the program's life.
//
// A thread_local object with a destructor is not safe where the program is built with MinGW:
// there a thread that ends frees its thread-local storage before it runs their destructors, which
// then work on freed memory and corrupt the heap. These objects are therefore owned by one list
// for the whole program, and a thread keeps only a plain pointer to its own; a thread that ends
// leaves its object in the list (a few for a program's life: the window system's thread, and the
// threads that tests start).

#include <memory>
#include <mutex>
#include <vector>

namespace net {

template <typename T>
T& PerThread() {
    thread_local T* mine = nullptr;
    if (mine == nullptr) {
        // Never destroyed: a thread may still ask while the program's statics are torn down.
        static auto* const owned = new std::vector<std::unique_ptr<T>>;
        static auto* const guard = new std::mutex;
        auto made = std::make_unique<T>();
        const std::lock_guard lock(*guard);
        owned->push_back(std::move(made));
        mine = owned->back().get();
    }
    return *mine;
}

}  // namespace net
