#include "platform/childprocess.h"

#include <csignal>

#include <sys/prctl.h>
#include <unistd.h>

void BindChildToProgram(pid_t program) {
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != program) // the program died before the line above
        ::_exit(127);
}
