// The command handlers the dispatch table runs. Each is called only after recognition
// and the permission test have passed; it answers its sender and says whether the
// sender is still there (a self-kick and a failed channel change remove it).
#pragma once

#include <string_view>

#include "channel/records.h"

// `text` is the whole partyline text; `argument` starts at the command's argument
// position and is empty when the text is shorter.
using CommandHandler = Outcome (*)(Client& sender, std::string_view text,
                                   std::string_view argument);

Outcome handle_help(Client& sender, std::string_view text, std::string_view argument);

Outcome handle_list(Client& sender, std::string_view text, std::string_view argument);
Outcome handle_join(Client& sender, std::string_view text, std::string_view argument);
Outcome handle_who(Client& sender, std::string_view text, std::string_view argument);
Outcome handle_topic(Client& sender, std::string_view text, std::string_view argument);
Outcome handle_priority(Client& sender, std::string_view text, std::string_view argument);
Outcome handle_persistant(Client& sender, std::string_view text, std::string_view argument);

Outcome handle_kick(Client& sender, std::string_view text, std::string_view argument);
Outcome handle_msg(Client& sender, std::string_view text, std::string_view argument);
Outcome handle_move(Client& sender, std::string_view text, std::string_view argument);
Outcome handle_op(Client& sender, std::string_view text, std::string_view argument);

Outcome handle_set(Client& sender, std::string_view text, std::string_view argument);

Outcome handle_winlist(Client& sender, std::string_view text, std::string_view argument);
Outcome handle_clear(Client& sender, std::string_view text, std::string_view argument);
Outcome handle_save(Client& sender, std::string_view text, std::string_view argument);
Outcome handle_reset(Client& sender, std::string_view text, std::string_view argument);
