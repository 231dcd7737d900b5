// The Windows tests' entry point. CTest learns the test names from --gtest_list_tests, read
// on Linux through Wine: the list goes out with plain "\n" line ends, not text mode's "\r\n".
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>

#include <cstdio>

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
