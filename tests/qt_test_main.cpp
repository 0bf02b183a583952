#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {
// The application is made in SetUp, not in main, so that listing the tests at build time needs no
// display.
class QtApplicationEnvironment : public ::testing::Environment {
 public:
  QtApplicationEnvironment(int& argc, char** argv) : argc_(argc), argv_(argv) {}
  void SetUp() override { application_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { application_.reset(); }

 private:
  int& argc_;
  char** argv_;
  std::unique_ptr<QApplication> application_;
};
}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment(argc, argv));
  return RUN_ALL_TESTS();
}
