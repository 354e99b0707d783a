#pragma once
// This program's own fsync counts the calls before making the real one, so
// that a test can tell how often a write was flushed, or fail it like a bad
// disk. Include it in one source file of a test program.

#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace varnel::testing {
inline int fsyncCalls = 0;
inline bool fsyncFails = false;
}  // namespace varnel::testing

extern "C" int fsync(int descriptor) {
    ++varnel::testing::fsyncCalls;
    if (varnel::testing::fsyncFails) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, descriptor));
}
