// In-process support for the game and timer tests: members linked into channels with
// a real socket each (the server's end registered in the socket table), and what the
// server sent them read back from the other end as messages without their 0xFF.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "channel/records.h"
#include "unit/fixture.h"

class GameTest : public ServerStateTest {
 protected:
  void TearDown() override;

  // A member at the head of the channel's member list (link order is newest first).
  Client& add_member(Channel& channel, const std::string& nick, int playernum,
                     ClientState state = STATE_CHANNEL, const std::string& team = "");
  // Every complete message the server has sent to the member so far.
  std::vector<std::string> received(const Client& member);
  std::vector<std::string> received_by_fd(int server_fd);
  // The server closed the member's socket (after whatever it sent).
  bool closed_by_server(int server_fd);
  // Count of occurrences of `text` in game.log.
  static int log_count(const std::string& text);

 private:
  std::string read_available(int server_fd);
  std::unordered_map<int, int> peer_of_;  // server end -> test end
  std::unordered_map<int, std::string> unread_;
};
