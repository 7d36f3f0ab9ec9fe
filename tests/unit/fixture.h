// A fresh process state for each in-process test: its own scratch working directory,
// default settings, empty lists, an empty socket table and winlist.
#pragma once

#include <gtest/gtest.h>

#include <string>

class ServerStateTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The whole content of a file in the scratch directory ("" when missing).
  static std::string read_file(const std::string& name);
  static void write_file(const std::string& name, const std::string& content);
  static bool file_exists(const std::string& name);

 private:
  std::string old_dir_;
  std::string dir_;
};
