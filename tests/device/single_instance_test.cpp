#include "platform/shell/single_instance.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/device/device.h"
#include "platform/shell/process_windows.h"
#include "tests/fs/temp_dir.h"
#include "tests/registry/child_process.h"

using testing_support::TempDir;

namespace {

// The helper as a first instance, talked to through its standard streams.
class FirstInstance {
 public:
  explicit FirstInstance(const std::string& db) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string program = testing_support::HelperProgram();
    std::string cmd = "instance";
    std::string dbArg = db;
    char* argv[] = {program.data(), dbArg.data(), cmd.data(), nullptr};
    posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    m_in = fdopen(in[1], "w");
    m_out = fdopen(out[0], "r");
  }
  ~FirstInstance() {
    if (m_in) fclose(m_in);
    if (m_out) fclose(m_out);
    if (m_pid > 0) waitpid(m_pid, nullptr, 0);
  }
  std::string ReadLine() {
    char buf[128];
    return m_out && std::fgets(buf, sizeof buf, m_out) ? std::string(buf) : std::string();
  }
  int Quit() {
    std::fputs("quit\n", m_in);
    std::fflush(m_in);
    int code = testing_support::WaitProcess(m_pid);
    m_pid = -1;
    return code;
  }

 private:
  pid_t m_pid = -1;
  FILE* m_in = nullptr;
  FILE* m_out = nullptr;
};

TEST(SingleInstance, ASecondInstanceFindsTheFirstsFrameAndAsksItToTheFront) {
  TempDir dir;
  std::string error;
  ASSERT_TRUE(device::OpenDevice(dir / "dev", &error)) << error;
  {
    FirstInstance first(dir / "dev/device.db");
    ASSERT_EQ(first.ReadLine(), "ready\n");
    EXPECT_EQ(shell::ClaimSingleInstance(), shell::InstanceClaim::kAnotherRuns);
    ASSERT_TRUE(shell::ActivateRunningInstance(5, 20));
    // Its frame, not its "static" window, with the lowest bit set.
    EXPECT_EQ(first.ReadLine(), "front 33\n");
    EXPECT_EQ(first.Quit(), 0);
  }
  EXPECT_TRUE(shell::ListOtherWindows().empty());
  EXPECT_FALSE(shell::ActivateRunningInstance(2, 10));
  EXPECT_EQ(shell::ClaimSingleInstance(), shell::InstanceClaim::kFirst);  // the first one's end freed it
  device::CloseDevice();
}

}  // namespace
