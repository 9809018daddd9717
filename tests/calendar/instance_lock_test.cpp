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
        const InstanceLock second(file);
        EXPECT_FALSE(second.acquired());
        // Another process, as a second copy of the program would be.
        const pid_t child = ::fork();
        if (child == 0) {
            ::_exit(InstanceLock(file).acquired() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(WEXITSTATUS(status), 1);
    }
    const InstanceLock afterFirstEnded(file);
    EXPECT_TRUE(afterFirstEnded.acquired());
}

}  // namespace
}  // namespace kirnal
