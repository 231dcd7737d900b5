#pragma once
// Windows Sockets 1.1 (wsock32): the host name and its addresses.
#include <string>
#include <vector>

namespace vsi {

class ISockets {
 public:
  virtual ~ISockets() = default;
  // WSAStartup(1.1): false when sockets are unavailable.
  virtual bool Startup() = 0;
  virtual void Cleanup() = 0;
  // gethostname: false on failure.
  virtual bool GetHostName(std::string& out) = 0;
  // gethostbyname + inet_ntoa: dotted addresses in the system's order; false when unknown.
  virtual bool GetHostAddresses(const std::string& host, std::vector<std::string>& out) = 0;
};

}  // namespace vsi
