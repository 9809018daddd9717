#include "instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "temp_program_dir.h"

namespace kirnal {
namespace {

TEST(InstanceLock, OnlyOneCopyHoldsTheLockUntilItEnds) {
    const TempProgramDir dir;
    const auto file = dir.path() / kInstanceLockFileName;
    {
        const InstanceLock first(file);
        EXPECT_TRUE(first.acquired());
        const pid_t child = ::fork();  // a second copy of the program
        if (child == 0)
            ::_exit(InstanceLock(file).acquired() ? 0 : 1);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(WEXITSTATUS(status), 1);
    }
    EXPECT_TRUE(InstanceLock(file).acquired());
}

}  // namespace
}  // namespace kirnal
