// The C++ side of run.sh: each case through ZqPattern, printed as Oracle.java prints it.
#include <ZarqLang.h>
#include <lang/ZqPattern.h>
#include <fstream>
#include <iostream>
#include <sstream>
using namespace zqlang;
std::u16string un(const std::string& s) {
  std::u16string b;
  for (size_t i = 0; i < s.size(); i++) {
    if (s[i] == '%' && i + 4 < s.size()) {
      b += (char16_t)std::stoi(s.substr(i + 1, 4), nullptr, 16);
      i += 4;
    } else
      b += (char16_t)(unsigned char)s[i];
  }
  return b;
}
std::string esc(std::u16string_view s) {
  std::string b;
  char buf[8];
  for (char16_t c : s) {
    if (c < 0x20 || c > 0x7e || c == '%' || c == '|') {
      snprintf(buf, 8, "%%%04X", (unsigned)c);
      b += buf;
    } else
      b += (char)c;
  }
  return b;
}
int main(int, char** argv) {
  std::ifstream in(argv[1]);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::stringstream ss(line);
    std::string x;
    while (std::getline(ss, x, '\t'))
      f.push_back(x);
    while (f.size() < 4)
      f.push_back("");
    std::u16string p = un(f[1]), input = un(f[2]), arg = un(f[3]);
    int flags = f.size() > 4 ? std::stoi(f[4]) : 0;
    std::string r;
    try {
      ZqPattern pat = ZqPattern::compile(p, flags);
      if (f[0] == "m")
        r = pat.matches(input) ? "true" : "false";
      else if (f[0] == "s") {
        auto parts = pat.split(input, std::stoi(f[3]));
        r = "[";
        for (auto& q : parts)
          r += esc(q.view()) + "|";
        r += "]";
      } else if (f[0] == "ra")
        r = esc(pat.replaceAll(input, arg).view());
      else if (f[0] == "rf")
        r = esc(pat.replaceFirst(input, arg).view());
      else if (f[0] == "f") {
        ZqMatch m;
        int from = 0;
        while (from <= (int)input.size() && pat.find(input, from, m)) {
          for (int g = 0; g <= m.groupCount(); g++)
            r += std::to_string(m.start(g)) + "," + std::to_string(m.end(g)) + ";";
          r += " ";
          from = m.end() == m.start() ? m.end() + 1 : m.end();
        }
      }
    } catch (const IllegalArgumentException& e) {
      r = "IAE " + esc(e.getMessage().view());
    } catch (const IndexOutOfBoundsException& e) {
      r = "IndexOutOfBoundsException " + esc(e.getMessage().view());
    } catch (const Throwable& e) {
      r = "T " + esc(e.toString().view());
    }
    std::cout << r << "\n";
  }
}
