#include "services/GrellanKit_.hpp"

#include "platform/engine/GRKGrellanKit.hpp"
#include "services/DefaultsKeys.hpp"
#include "support/app/platform/scoped_defaults.hpp"

#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(EngineWrapper, the_wrapper_hands_the_engine_the_user_s_stored_vim_key_at_start) {
  QFile::remove(grellan::GRKJsonManager::filePath());
  grellan::GRKGrellanKit().setVimKeyVimKey("right_shift");
  grellan_test::ScopedMemoryDefaults defaults;
  defaults.defaults().setValue(grellan::DefaultsKeys::vimKey, "fn");
  EXPECT_EQ(grellan::GrellanKit_().kit().vimKey(), "fn");
  EXPECT_EQ(grellan::GRKGrellanKit().vimKey(), "fn");
  defaults.defaults().remove(grellan::DefaultsKeys::vimKey);
  EXPECT_EQ(grellan::GrellanKit_().kit().vimKey(), "left_control");
  QFile::remove(grellan::GRKJsonManager::filePath());
}

} // namespace
