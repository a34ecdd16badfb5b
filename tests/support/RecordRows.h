// Building and checking record rows in tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "records/RecordEntry.h"

namespace tolvaro::testing {

inline RecordEntry row(std::string_view name, std::int32_t useTime, std::int32_t score) {
  RecordEntry entry;
  setName(entry, name);
  entry.useTime = useTime;
  entry.score = score;
  return entry;
}

inline void expectRow(const RecordEntry& entry, std::string_view name, std::int32_t useTime,
                      std::int32_t score) {
  EXPECT_EQ(nameOf(entry), name);
  EXPECT_EQ(entry.useTime, useTime);
  EXPECT_EQ(entry.score, score);
}

}  // namespace tolvaro::testing
