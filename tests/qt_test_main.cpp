// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace wheelwatcher {

namespace {
// The application is made in SetUp, not in main, so that listing the tests at build time needs no
// display. Settings go to a temporary config folder, never to the user's own.
class QtApplicationEnvironment : public ::testing::Environment {
 public:
  QtApplicationEnvironment(int& argc, char** argv) : argc_(argc), argv_(argv) {}
  void SetUp() override {
    configFolder_ = std::make_unique<QTemporaryDir>();
    setenv("XDG_CONFIG_HOME", configFolder_->path().toLocal8Bit().constData(), 1);
    application_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    application_.reset();
    configFolder_.reset();
  }

 private:
  int& argc_;
  char** argv_;
  std::unique_ptr<QTemporaryDir> configFolder_;
  std::unique_ptr<QApplication> application_;
};
}  // namespace

}  // namespace wheelwatcher

int main(int argc, char** argv) {
  using namespace wheelwatcher;
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment(argc, argv));
  return RUN_ALL_TESTS();
}
