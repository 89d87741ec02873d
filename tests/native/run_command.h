#pragma once
// The standard output of a shell command, for tests that ask an independent
// tool (wrestool, icotool) what it makes of a file.
#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace kelmar::test {

inline std::string RunCommand(const std::string& command) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return out;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0) out.append(buffer.data(), n);
  return out;
}

}  // namespace kelmar::test
