// The player commands: /kick lists (a self-kick ends the command), /msg deliveries,
// /move and swaps, and /op against the security file.
#include <gtest/gtest.h>

#include "commands/dispatch.h"
#include "config/settings.h"
#include "unit/commands_world.h"

namespace {

using Messages = std::vector<std::string>;

class PlayerCommands : public CommandsTest {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    lobby = &channel("lobby");
    p3 = &member(*lobby, 3, "p3");
    p2 = &member(*lobby, 2, "p2", STATE_TEAM);
    p1 = &member(*lobby, 1, "p1");
  }
  Channel* lobby = nullptr;
  Client* p1 = nullptr;
  Client* p2 = nullptr;
  Client* p3 = nullptr;
};

TEST_F(PlayerCommands, KickTakesLeadingDigitsOneToSix) {
  EXPECT_EQ(run(*p1, "/kick 9x3"), Outcome::Kept);
  EXPECT_EQ(run(*p1, "/kick 7"), Outcome::Kept);
  EXPECT_EQ(run(*p1, "/kick  3"), Outcome::Kept);  // the second blank ends the list
  EXPECT_EQ(run(*p1, "/kick " + std::string(600, '4')), Outcome::Kept);
  EXPECT_TRUE(received("p1").empty());
  EXPECT_EQ(count_players(*lobby), 3);

  // Players still stating their team are kicked too and told so; a digit naming a
  // player already gone finds nobody.
  EXPECT_EQ(run(*p1, "/kick 2,3"), Outcome::Kept);
  EXPECT_EQ(received("p2"), Messages{"kick 2"});
  EXPECT_TRUE(closed("p2"));
  EXPECT_EQ(run(*p1, "/kick 332"), Outcome::Kept);
  EXPECT_EQ(received("p3"), (Messages{"kick 2", "kick 3"}));
  EXPECT_TRUE(closed("p3"));
  EXPECT_EQ(received("p1"), (Messages{"kick 2", "kick 3", "playerleave 3"}));
  EXPECT_NE(read_file("game.log").find("#lobby-p1: Kicked p3 from server\n"), std::string::npos);
}

TEST_F(PlayerCommands, SelfKickRemovesTheSenderAndStops) {
  EXPECT_EQ(run(*p1, "/kick 13"), Outcome::Removed);
  EXPECT_TRUE(closed("p1"));
  EXPECT_FALSE(closed("p3"));
  EXPECT_EQ(received("p3"), (Messages{"kick 1", "playerleave 1"}));
  // A player still stating its team hears the kick but not the departure.
  EXPECT_EQ(received("p2"), Messages{"kick 1"});
  EXPECT_EQ(count_players(*lobby), 2);
}

TEST_F(PlayerCommands, SelfKickOfTheLastMemberTakesTheChannel) {
  Channel& alone = channel("alone");
  Client& me = member(alone, 1, "me");
  me.level = 3;
  EXPECT_EQ(run(me, "/kick 1"), Outcome::Removed);
  EXPECT_EQ(find_channel("alone"), nullptr);
}

TEST_F(PlayerCommands, MsgSendsOneWordToEveryListedNumber) {
  server_settings.verbose = 5;
  run(*p3, "/msg 133x1 hi there");
  EXPECT_EQ(received("p1"), Messages{"pline 3 \x11(msg)\x04 hi"});
  EXPECT_EQ(received("p3"), (Messages{"pline 3 \x11(msg)\x04 hi", "pline 3 \x11(msg)\x04 hi"}));
  EXPECT_TRUE(received("p2").empty());
  EXPECT_NE(read_file("game.log").find("#lobby-(p3 to p1): hi\n"), std::string::npos);
  run(*p3, "/msg 1");
  EXPECT_EQ(received("p1"), Messages{"pline 3 \x11(msg)\x04 "});
  run(*p3, "/msg 9 hi");
  run(*p3, "/msg");
  EXPECT_TRUE(received("p1").empty());
  EXPECT_TRUE(received("p3").empty());
}

TEST_F(PlayerCommands, MoveToAFreeNumber) {
  Client& p5 = member(*lobby, 5, "p5");
  run(*p1, "/move 5 4");
  EXPECT_EQ(received("p5"), (Messages{"playernum 4", "playerleave 5"}));
  EXPECT_EQ(received("p1"), (Messages{"playerjoin 4 p5", "playerleave 5"}));
  EXPECT_EQ(received("p3"), (Messages{"playerjoin 4 p5", "playerleave 5"}));
  EXPECT_TRUE(received("p2").empty());
  EXPECT_EQ(p5.playernum, 4);
  EXPECT_NE(read_file("game.log").find("#lobby-p1 moves player p5(5) to p5(4)\n"),
            std::string::npos);
  // The chanop may move itself; the number may pass the channel's capacity.
  lobby->maxplayers = 3;
  run(*p1, "/move 1 6");
  EXPECT_EQ(p1->playernum, 6);
}

TEST_F(PlayerCommands, MoveOntoAnotherPlayerSwaps) {
  Client& p5 = member(*lobby, 5, "p5");
  run(*p1, "/move 3 5");
  EXPECT_EQ(received("p3"), (Messages{"playernum 5", "playerjoin 3 p5"}));
  EXPECT_EQ(received("p5"), (Messages{"playernum 3", "playerjoin 5 p3"}));
  EXPECT_EQ(received("p1"), (Messages{"playerjoin 5 p3", "playerjoin 3 p5"}));
  EXPECT_EQ(p3->playernum, 5);
  EXPECT_EQ(p5.playernum, 3);
  EXPECT_NE(read_file("game.log").find("#lobby-p1 swaps player p3(3) with p5(5)\n"),
            std::string::npos);
}

TEST_F(PlayerCommands, MoveRefusesBadNumbersAndNeverSharesANumber) {
  const std::string usage = "pline 0 \x14/move \x05<playernumber> <newplayernumber>";
  for (const std::string& text :
       std::vector<std::string>{"/move 1 1", "/move 0 2", "/move 1 7", "/move 1", "/move",
                                "/move x 2", "/move 1x 3", "/move 4294967297 3",
                                "/move 3 -99999999999999999999", "/move " + std::string(600, '1')}) {
    run(*p1, text);
    EXPECT_EQ(received("p1"), Messages{usage}) << text;
  }
  // Nobody on the first number, or a player still stating its team on the second.
  run(*p1, "/move 4 5");
  run(*p1, "/move 3 2");
  EXPECT_TRUE(received("p1").empty());
  EXPECT_TRUE(received("p3").empty());
  EXPECT_EQ(p3->playernum, 3);
  EXPECT_EQ(p2->playernum, 2);
}

TEST_F(PlayerCommands, OpReadsTheSecurityFileAtEveryAttempt) {
  const std::string refused = "pline 0 Invalid Password! (Attempt logged)";
  const std::string granted = "pline 0 \x0cYour security level is now: \x14" "AUTHENTICATED OP";

  // No file: the template is written, and no password exists.
  run(*p3, "/op ");
  EXPECT_EQ(received("p3"), Messages{refused});
  EXPECT_TRUE(file_exists("game.secure"));
  EXPECT_NE(read_file("game.log").find("#lobby-p3 Failed attempt to gain OP status\n"),
            std::string::npos);

  write_file("game.secure", "op_password=secret\n");
  for (const std::string text : {"/op secret ", "/op  secret", "/op SECRET", "/opsecret"}) {
    run(*p3, text);
    EXPECT_EQ(received("p3"), Messages{refused}) << text;
  }
  EXPECT_EQ(p3->level, 1);
  run(*p3, "/op secret");
  EXPECT_EQ(received("p3"), Messages{granted});
  EXPECT_EQ(p3->level, 3);
  EXPECT_TRUE(has_level(*p3, 3));
  EXPECT_NE(read_file("game.log").find("#lobby-p3 authenticated successfully for op status\n"),
            std::string::npos);

  // An edit takes effect at the next attempt.
  write_file("game.secure", "op_password=other\n");
  run(*p1, "/op secret");
  EXPECT_EQ(received("p1"), Messages{refused});
  EXPECT_EQ(p1->level, 1);
}

}  // namespace
