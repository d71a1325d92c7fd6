#include "platform/standardstreams.h"

#include <fcntl.h>
#include <unistd.h>

void EnsureStandardStreams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1)
            continue;
        const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) { // a lower number was free: it takes that one
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}
