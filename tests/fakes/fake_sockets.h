#pragma once
// The host name and its addresses, with switches that make each step fail; counts startups and
// cleanups so a test can see they balance.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/sockets.h"

namespace vsi::fake {

class FakeSockets : public ISockets {
 public:
  FakeSockets();

  bool Startup() override;
  void Cleanup() override;
  bool GetHostName(std::string& out) override;
  bool GetHostAddresses(const std::string& host, std::vector<std::string>& out) override;

  std::string hostName = "velmora-pc";
  // Addresses by host name (compared without regard to case).
  std::map<std::string, std::vector<std::string>> addresses;
  bool startupFails = false;
  bool hostNameFails = false;
  bool resolveFails = false;
  // Runs at the start of every lookup of a host's addresses, on the caller's thread: a slow
  // name server is one that blocks here.
  std::function<void(const std::string& host)> whileResolving;
  int lookups = 0;  // of a host's addresses

  int startups = 0;  // successful ones
  int cleanups = 0;
  // Calls made while not started: a real stack answers WSANOTINITIALISED.
  int callsWithoutStartup = 0;

 private:
  int active_ = 0;
};

}  // namespace vsi::fake
