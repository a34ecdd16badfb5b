// Building and checking record rows in tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "state/RecordEntry.h"

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

struct RowValues {
  std::string_view name;
  std::int32_t useTime = 0;
  std::int32_t score = 0;
};

// The table's first rows are `first`, and every row after them is `rest`.
inline void expectTable(const RecordTable& table, const std::vector<RowValues>& first,
                        RowValues rest = {}) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i + 1));
    const RowValues& expected = i < first.size() ? first[i] : rest;
    expectRow(table[i], expected.name, expected.useTime, expected.score);
  }
}

inline void expectSameTable(const RecordTable& expected, const RecordTable& actual) {
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i + 1));
    expectRow(actual[i], nameOf(expected[i]), expected[i].useTime, expected[i].score);
  }
}

}  // namespace tolvaro::testing
