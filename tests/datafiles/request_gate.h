#pragma once
// A gate in front of the system requests of file operations (file_handle.h)
// for as long as it lives: it counts the requests of each kind, and can make
// one of them fail or run the test's own action on it first.
#include "datafiles/file_handle.h"

#include <functional>

struct RequestGateState {
    FileRequest failKind = FileRequest::kRead;
    int failAt = 0;
    int counts[5] = {};
    std::function<bool(FileRequest, const char*)> action;
};

class RequestGate {
  public:
    // Fails the request numbered failAt (from 1) of kind failKind; 0 fails none.
    explicit RequestGate(FileRequest failKind = FileRequest::kRead, int failAt = 0)
        : previous(SetFileRequestGate(Pass)) {
        state = {};
        state.failKind = failKind;
        state.failAt = failAt;
    }
    ~RequestGate() {
        SetFileRequestGate(previous);
        state = {};
    }
    RequestGate(const RequestGate&) = delete;
    RequestGate& operator=(const RequestGate&) = delete;

    // Requests of a kind seen so far, and of every kind.
    int Count(FileRequest kind) const { return state.counts[static_cast<int>(kind)]; }
    int Total() const {
        int total = 0;
        for (int count : state.counts) total += count;
        return total;
    }
    // Runs before every request; false makes it fail.
    void SetAction(std::function<bool(FileRequest, const char*)> action) {
        state.action = std::move(action);
    }

  private:
    static inline RequestGateState state;

    static bool Pass(FileRequest request, const char* path) {
        const int seen = ++state.counts[static_cast<int>(request)];
        if (state.action && !state.action(request, path)) return false;
        return !(request == state.failKind && seen == state.failAt);
    }

    const FileRequestGate previous;
};
