// Scratch directory and state reset shared by the in-process tests.
#include "unit/fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "channel/records.h"
#include "config/settings.h"
#include "config/winlist.h"
#include "net/socket_table.h"

void ServerStateTest::SetUp() {
  char path[] = "/tmp/lineblox-unit-XXXXXX";
  ASSERT_NE(::mkdtemp(path), nullptr);
  dir_ = path;
  old_dir_ = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  reset_socket_table();
  reset_world();
  server_settings = ServerSettings{};
  set_default_settings();
  clear_winlist();
  for (auto& row : winlist) row = WinlistEntry{};
}

void ServerStateTest::TearDown() {
  reset_socket_table();
  reset_world();
  std::filesystem::current_path(old_dir_);
  std::filesystem::remove_all(dir_);
}

std::string ServerStateTest::read_file(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void ServerStateTest::write_file(const std::string& name, const std::string& content) {
  std::ofstream(name, std::ios::binary) << content;
}

bool ServerStateTest::file_exists(const std::string& name) {
  return std::filesystem::exists(name);
}
