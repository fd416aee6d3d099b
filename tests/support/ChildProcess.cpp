#include "tests/support/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace VelmoraTest {

int RunInChild(const std::function<int()>& body) {
    std::fflush(nullptr); // buffered output would otherwise be written twice
    pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        int result = 99;
        try {
            result = body();
        } catch (...) {
            result = 98;
        }
        _exit(result);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return status;
}

void LimitFileSize(unsigned long bytes, bool killOnExcess) {
    std::signal(SIGXFSZ, killOnExcess ? SIG_DFL : SIG_IGN);
    rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
    rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace VelmoraTest
