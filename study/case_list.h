// The cases of a study: a base case and either the cartesian product of variations or the rows
// of a case table. Case texts are produced on demand, so a study of a million cases does not
// keep a million sets of texts.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "files/case_table.h"
#include "model/inputs.h"
#include "study/variation.h"

namespace tesmo {

// A study of more cases than this needs to be confirmed (the runner's --yes); the study window
// does not run it at all. A typing error in a range should not start a study that runs for a
// day.
inline constexpr std::size_t kCasesWithoutYes = 100000;

class CaseList {
  public:
    // The product of the variations, the last varying fastest.
    CaseList(InputTexts base, std::vector<Variation> variations);
    // One case per row of the table.
    CaseList(InputTexts base, CaseTable table);
    // The cases given one by one (from a script); `base` only names the texts they share.
    CaseList(InputTexts base, std::vector<InputTexts> cases);
    // `count` cases made on demand by `make` (called from any worker thread, so it must only
    // read what it shares), each from `base` with some of `fields` changed: a sample of a
    // million cases keeps its numbers, not a million sets of texts.
    CaseList(InputTexts base, std::size_t count, std::vector<Control> fields,
             std::function<InputTexts(std::size_t)> make);

    // Number of cases; 0 when the product does not fit (see tooLarge()).
    std::size_t size() const { return size_; }
    // Whether the product of the variations exceeds what a size_t counts.
    bool tooLarge() const { return tooLarge_; }
    // The texts of case `i` (0-based).
    InputTexts texts(std::size_t i) const;
    // The fields that change from case to case: the varied ones in the order they were given,
    // a table's columns, or the fields in which any given case differs from the base.
    std::vector<Control> variedFields() const;
    const InputTexts& base() const { return base_; }

  private:
    InputTexts base_;
    std::vector<Variation> variations_;
    std::optional<CaseTable> table_;
    std::vector<InputTexts> explicit_;
    std::vector<Control> madeFields_;
    std::function<InputTexts(std::size_t)> make_;
    std::size_t size_ = 0;
    bool tooLarge_ = false;
};

// Which cases of a study one machine runs: every N-th starting at K (1 <= K <= N), as
// "K/N" is written on the command line. Case numbers are 1-based in the whole study.
struct Shard {
    std::size_t k = 1, n = 1;
};

struct ShardResult {
    bool ok = false;
    Shard shard;
    std::string error;  // German
};
ShardResult parseShard(const std::string& text);

// The cases one run of a study computes: `count` cases with 0-based indices first,
// first + stride, first + 2·stride, …
struct CaseSelection {
    std::size_t first = 0, stride = 1, count = 0;
    std::size_t caseIndex(std::size_t j) const { return first + j * stride; }
};

// The cases of a study of `caseCount` cases that a shard computes.
CaseSelection selectShard(std::size_t caseCount, Shard shard);

}  // namespace tesmo
