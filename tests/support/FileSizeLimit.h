#pragma once

#include <csignal>

#include <sys/resource.h>

namespace latcap::testing {

// While it lives, no file of this process grows past `bytes`: a write beyond
// fails with EFBIG exactly where one onto a full disk fails with ENOSPC.
// Only the soft limit is lowered, so no rights are needed to lift it again.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &before_);
        rlimit lowered = before_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &before_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit before_ {};
};

} // namespace latcap::testing
