// The login line decoder. A pair is read like a two-digit "%2X" scan: one or two
// hexadecimal digits, either case. A pair whose first character is no digit at all
// keeps the value of the pair before; an unreadable seed stands for 0.
#include "login/login_decoder.h"


#include "core/log.h"
#include "login/messages.h"

namespace {

// Type n stands for the key digit KEY_DIGITS[n - 1].
constexpr std::array<int, LOGIN_TYPES> KEY_DIGITS = {6, 1, 8, 3, 9, 5, 2, 7, 0, 4};
constexpr int UNREADABLE_SEED = 0;
constexpr std::size_t PAIR = 2;
constexpr std::size_t LEARNED = KNOWN_LOGIN_TEXT.size();

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::size_t complete_pairs(std::string_view line) { return line.size() / PAIR; }

// The value of complete pair `index`, or `before` when it cannot be read at all.
int read_pair(std::string_view line, std::size_t index, int before) {
  const int high = hex_digit(line[index * PAIR]);
  if (high < 0) return before;
  const int low = hex_digit(line[index * PAIR + 1]);
  return low < 0 ? high : high * 16 + low;
}

void write_pair(std::string& line, std::size_t index, int value) {
  static constexpr char DIGITS[] = "0123456789ABCDEF";
  line[index * PAIR] = DIGITS[(value >> 4) & 0xf];
  line[index * PAIR + 1] = DIGITS[value & 0xf];
}

int learn_period(const std::array<int, LEARNED>& types) {
  for (std::size_t p = 1; p <= LOGIN_MAX_PERIOD; ++p) {
    bool fits = true;
    for (std::size_t k = 0; k + p < LEARNED && fits; ++k) fits = types[k] == types[k + p];
    if (fits) return static_cast<int>(p);
  }
  return static_cast<int>(LEARNED);
}

}  // namespace

int login_transform(int type, int prev, int cur) {
  if (type < 1 || type > LOGIN_TYPES) return -1;
  int t = cur ^ (48 + KEY_DIGITS[type - 1]);
  if (t < 64) t += 255;
  int x = t - prev;
  if (x > 255) x -= 255;
  if (x < 0) x += 255;
  return x;
}

int decode_login(std::string& line) {
  log_msg(10, LOG_LEARN);
  const std::size_t pairs = complete_pairs(line);
  const int seed = pairs > 0 ? read_pair(line, 0, UNREADABLE_SEED) : UNREADABLE_SEED;

  std::array<int, LEARNED> types{};
  int prev = seed;
  for (std::size_t i = 0; i < LEARNED; ++i) {
    // A missing pair can teach nothing: the line is refused like an unknown type.
    const bool present = i + 1 < pairs;
    const int cur = present ? read_pair(line, i + 1, prev) : prev;
    int found = 0;
    for (int type = 1; present && type <= LOGIN_TYPES && found == 0; ++type) {
      if (login_transform(type, prev, cur) == KNOWN_LOGIN_TEXT[i]) found = type;
    }
    if (found == 0) {
      log_msg(4, LOG_UNKNOWN_TYPE, static_cast<int>(i));
      return -1;
    }
    log_msg(10, LOG_LEARNED_TYPE, found);
    types[i] = found;
    prev = cur;
  }

  const int total = learn_period(types);
  log_msg(10, LOG_PERIOD, total);

  prev = seed;
  int index = 0;
  for (std::size_t pair = 1; pair < pairs; ++pair) {
    const int cur = read_pair(line, pair, prev);
    write_pair(line, pair, login_transform(types[index], prev, cur));
    prev = cur;
    if (++index == total) index = 0;
  }
  return 0;
}

std::string hex_to_text(std::string_view line) {
  std::string text;
  const std::size_t pairs = complete_pairs(line);
  int value = pairs > 0 ? read_pair(line, 0, UNREADABLE_SEED) : UNREADABLE_SEED;
  for (std::size_t pair = 1; pair < pairs; ++pair) {
    value = read_pair(line, pair, value);
    if (value == 0) break;
    text.push_back(static_cast<char>(value));
  }
  return text;
}
