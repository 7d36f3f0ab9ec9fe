// A small world for the command tests: channels with members whose descriptors are
// socketpairs, so every message the server sends can be read back exactly from the
// other end, and a member that was removed shows as a closed peer.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "channel/records.h"
#include "unit/fixture.h"

class CommandsTest : public ServerStateTest {
 protected:
  void TearDown() override;

  // A channel appended to channel_list with the usual defaults.
  Channel& channel(const std::string& name);
  // A member linked into `channel` (newest first), registered in the socket table.
  Client& member(Channel& channel, int playernum, const std::string& nick,
                 ClientState state = STATE_CHANNEL, const std::string& team = "");

  // Runs the command text as `sender`'s partyline command.
  Outcome run(Client& sender, const std::string& text);
  // Every message received by `nick` since the last call, without the 0xFF.
  std::vector<std::string> received(const std::string& nick);
  // Reads what is left and tells whether the server closed `nick`'s connection.
  bool closed(const std::string& nick);
  void drain_all();

 private:
  struct Peer {
    int fd = -1;
    std::string bytes;
    bool eof = false;
  };
  void pump(Peer& peer);
  std::map<std::string, Peer> peers_;
};
