// Asks the system's private-profile functions, so that tests can hold our
// Linux reader and writer against them (under Wine).
// Usage: profile_probe FILE SECTION KEY          prints the value read
//        profile_probe FILE SECTION KEY VALUE    writes it, prints 1 or 0
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: profile_probe FILE SECTION KEY [VALUE]\n");
    return 2;
  }
  if (argc == 5) {
    std::printf("%d", WritePrivateProfileStringA(argv[2], argv[3], argv[4], argv[1]) ? 1 : 0);
    return 0;
  }
  std::string buffer(256, '\0');
  const DWORD length =
      GetPrivateProfileStringA(argv[2], argv[3], "ERRORFLAG", buffer.data(), 256, argv[1]);
  std::fwrite(buffer.data(), 1, length, stdout);
  return 0;
}
