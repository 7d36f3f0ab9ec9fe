// Start-up, the main loop and dispatch. SIGTERM only notes the request in its handler;
// the shutdown runs at the top of the next pass, so it never lands in the middle of a
// half-handled line, and the one-second wait bounds the delay.
#include "core/server.h"

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "channel/departure.h"
#include "channel/timers.h"
#include "config/game_secure.h"
#include "config/settings.h"
#include "config/winlist.h"
#include "core/clock.h"
#include "core/log.h"
#include "game/relay.h"
#include "login/admission.h"
#include "login/channel_entry.h"
#include "login/prelogin.h"
#include "net/listener.h"
#include "net/socket_table.h"

namespace {

volatile std::sig_atomic_t term_requested = 0;
std::time_t last_tick = 0;

void note_term(int) { term_requested = 1; }

Outcome handle_listener(Client& listener, std::string&) {
  admit_connection(listener);
  return Outcome::Kept;
}

using StateHandler = Outcome (*)(Client&, std::string&);

// Indexed by ClientState.
constexpr StateHandler STATE_HANDLERS[] = {
    nullptr, handle_listener, handle_init_line, handle_team_line, handle_channel_line,
};

// Serve descriptors past 1024 like the rest: take every descriptor the system allows.
void raise_descriptor_limit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
  }
}

void write_pid_file() {
  std::FILE* file = std::fopen(server_settings.pidfile.c_str(), "w");
  if (file == nullptr) {
    log_msg(0, "ERROR: Could not write to PID file %s\n", server_settings.pidfile.c_str());
    return;
  }
  std::fprintf(file, "%d", static_cast<int>(::getpid()));
  std::fclose(file);
  log_msg(9, "Wrote PID to file %s\n", server_settings.pidfile.c_str());
}

}  // namespace

void fatal_exit(const char* message) {
  std::printf("%s\n", message);
  std::fflush(stdout);
  for (const auto& channel : channel_list) {
    for (const auto& member : channel->members) kill_socket(member->fd);
  }
  std::exit(1);
}

void open_game_port() {
  auto listener = std::make_unique<Client>();
  listener->address = own_address();
  listener->host = own_host_name().substr(0, HOST_MAX);
  listener->nick = "(telnet)";
  listener->state = STATE_LISTENER;

  int port = TELNET_PORT;
  const int fd = open_listener(port, server_settings.bindip);
  if (fd < 0) {
    std::printf("Couldn't find telnet port %d. (Lineblox already running?)\n", TELNET_PORT);
    std::fflush(stdout);
    log_msg(0, "Couldn't find telnet port %d.\n", TELNET_PORT);
    std::exit(1);
  }
  listener->port = port;
  listener->fd = fd;
  link_listener(std::move(listener));
  log_msg(3, "Listening at telnet port %d, on socket %d, bound to %s\n", port, fd,
          server_settings.bindip.c_str());
}

void dispatch_line(int fd, std::string& line) {
  Client* client = find_client_by_fd(fd);
  if (client == nullptr) return;
  client->idle_left = client->play_state == PLAY_ACTIVE ? server_settings.timeout_ingame
                                                        : server_settings.timeout_outgame;
  const unsigned state = client->state;
  if (state < 1 || state >= std::size(STATE_HANDLERS)) {
    log_msg(0, "Internal Error - Untrapped Network activity. (BIG ERROR)\n");
    return;
  }
  STATE_HANDLERS[state](*client, line);
}

void socket_closed(int fd) {
  Client* client = find_client_by_fd(fd);
  if (client != nullptr && client->channel != nullptr) {
    kill_socket(fd);
    remove_client(*client);
    return;
  }
  log_msg(3, "Socket(%d): EOF on unknown socket\n", fd);
  kill_socket(fd);
}

void remove_pid_file() {
  std::remove(server_settings.pidfile.c_str());
  log_msg(9, "Removed PID file %s\n", server_settings.pidfile.c_str());
}

void shutdown_server() {
  log_msg(1, "Got TERM Signal - Quitting\n");
  for (auto channel_it = channel_list.begin(); channel_it != channel_list.end();) {
    Channel& channel = **channel_it++;  // the removal may delete this channel
    for (auto member_it = channel.members.begin(); member_it != channel.members.end();) {
      Client& member = **member_it++;
      const bool last = member_it == channel.members.end();
      kill_socket(member.fd);
      remove_client(member);
      if (last) break;  // the channel may be gone with its last member
    }
  }
  write_winlist();
  remove_pid_file();
  std::exit(0);
}

void run_pass() {
  const std::time_t now = now_seconds();
  if (now >= last_tick + 1) {
    run_timers();
    last_tick = now;
  }
  flush_output();

  std::string line;
  int closed_fd = -1;
  const int result = read_line(line, closed_fd);
  if (result >= 0) {
    dispatch_line(result, line);
  } else if (result == READ_SELECT_FAILED) {
    if (!term_requested) log_msg(4, "Select error - Whatever the hell that is supposed to be..\n");
  } else if (result == READ_CLOSED) {
    log_msg(9, "Close Socket\n");
    socket_closed(closed_fd);
  }
}

void run_server() {
  log_msg(0, "\nLineblox for Linux V%s.%s\n---------------------------------\n", SERVER_VERSION,
          SERVER_BUILD);
  reset_world();

  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGPIPE, &ignore, nullptr);
  struct sigaction term {};
  term.sa_handler = note_term;
  ::sigaction(SIGTERM, &term, nullptr);
  raise_descriptor_limit();

  load_settings();
  reset_socket_table();
  open_game_port();
  clear_winlist();
  server_settings.op_password.clear();
  read_winlist();
  if (read_game_secure() < 0) write_game_secure();

  std::fflush(stdout);
  const pid_t child = ::fork();
  if (child < 0) {
    std::printf("Error: Unable to fork new process\n");
    std::fflush(stdout);
    std::exit(5);
  }
  if (child > 0) std::exit(0);

  ::setsid();
  ::close(0);
  ::close(1);
  ::close(2);
  write_pid_file();

  last_tick = now_seconds();
  for (;;) {
    if (term_requested) shutdown_server();
    run_pass();
  }
}
