#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace zor::record::testing {

// A fresh data folder for each test, with its "Data" and "Incomplete
// afnames" folders; removed afterwards.
class DataFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("zor-record-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "Data");
        std::filesystem::create_directories(root_ / "Incomplete afnames");
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    std::filesystem::path root_;
};

}  // namespace zor::record::testing
