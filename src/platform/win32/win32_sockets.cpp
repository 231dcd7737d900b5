#include "platform/win32/win32_api.h"

#include <cstring>

#include "platform/win32/win32_platform.h"

namespace vsi {

bool Win32Sockets::Startup() {
  WSADATA data;
  return ::WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

void Win32Sockets::Cleanup() { ::WSACleanup(); }

bool Win32Sockets::GetHostName(std::string& out) {
  char buf[256] = {};
  if (::gethostname(buf, sizeof buf - 1) != 0) return false;
  out = buf;
  return true;
}

bool Win32Sockets::GetHostAddresses(const std::string& host, std::vector<std::string>& out) {
  const hostent* he = ::gethostbyname(host.c_str());
  if (!he || he->h_addrtype != AF_INET || !he->h_addr_list) return false;
  out.clear();
  for (char** p = he->h_addr_list; *p; ++p) {
    in_addr a;
    std::memcpy(&a, *p, sizeof a);
    out.emplace_back(::inet_ntoa(a));
  }
  return true;
}

}  // namespace vsi
