// A deterministic stand-in for a coverage-guided fuzzer, so the fuzz entry point runs
// in every test run and under the sanitizers: random bytes and mutated seed texts.
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  const long runs = argc > 1 ? std::atol(argv[1]) : 20000;
  const std::vector<std::string> seeds = {
      "pline 1 hello", "pline 1 /join #x", "pline 1 /set BLOCK 14 14 15 14 14 14 15",
      "pline 1 /kick 123", "pline 1 /move 1 2", "pline 1 /msg 12 hi", "pline 1 /winlist 5",
      "pline 1 /help", "pline 1 /who", "pline 1 /list", "pline 1 /topic t", "gmsg <p1> t",
      "f 1 !33445566", "startgame 1 1", "pause 1 1", "playerlost 1", "sb 0 a 1", "lvl 1 5",
      "team 1 red", "4F2D", "[chan]\nmaxplayers=3\ntopic=x # c\n", "10 . 0 . 0 . 1 *.*.*.*",
  };
  std::mt19937 random(12345);
  std::string input;
  for (long i = 0; i < runs; ++i) {
    input.clear();
    input.push_back(static_cast<char>(random() % 7));
    if (random() % 2 == 0) {
      input += seeds[random() % seeds.size()];
      const int flips = static_cast<int>(random() % 4);
      for (int f = 0; f < flips && input.size() > 1; ++f) {
        input[1 + random() % (input.size() - 1)] = static_cast<char>(random());
      }
      if (random() % 4 == 0) input.append(random() % 900, static_cast<char>('0' + random() % 80));
    } else {
      const std::size_t size = random() % 1200;
      for (std::size_t b = 0; b < size; ++b) input.push_back(static_cast<char>(random()));
    }
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
  }
  return 0;
}
