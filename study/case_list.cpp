#include "study/case_list.h"

#include <charconv>
#include <limits>
#include <string_view>
#include <system_error>

namespace tesmo {

CaseList::CaseList(InputTexts base, std::vector<Variation> variations)
    : base_(std::move(base)), variations_(std::move(variations)) {
    std::size_t n = 1;
    for (const Variation& v : variations_) {
        const std::size_t k = v.texts.size();
        if (k != 0 && n > std::numeric_limits<std::size_t>::max() / k) {
            tooLarge_ = true;
            n = 0;
            break;
        }
        n *= k;
    }
    size_ = n;
}

CaseList::CaseList(InputTexts base, CaseTable table)
    : base_(std::move(base)), table_(std::move(table)), size_(table_->rowCount()) {}

CaseList::CaseList(InputTexts base, std::vector<InputTexts> cases)
    : base_(std::move(base)), explicit_(std::move(cases)), size_(explicit_.size()) {}

CaseList::CaseList(InputTexts base, std::size_t count, std::vector<Control> fields,
                   std::function<InputTexts(std::size_t)> make)
    : base_(std::move(base)),
      madeFields_(std::move(fields)),
      make_(std::move(make)),
      size_(count) {}

InputTexts CaseList::texts(std::size_t i) const {
    if (make_) return make_(i);
    if (!explicit_.empty()) return explicit_[i];
    if (table_) return table_->texts(i, base_);
    InputTexts t = base_;
    // Mixed radix, the last variation the fastest digit.
    for (std::size_t v = variations_.size(); v-- > 0;) {
        const std::size_t k = variations_[v].texts.size();
        t[variations_[v].field] = variations_[v].texts[i % k];
        i /= k;
    }
    return t;
}

std::vector<Control> CaseList::variedFields() const {
    if (make_) return madeFields_;
    if (table_) return table_->columns();
    std::vector<Control> fields;
    if (!explicit_.empty()) {
        for (int f = 0; f < kInputCount; ++f) {
            const Control c = controlAt(f);
            for (const InputTexts& t : explicit_) {
                if (t[c] != base_[c]) {
                    fields.push_back(c);
                    break;
                }
            }
        }
        return fields;
    }
    for (const Variation& v : variations_)
        fields.push_back(v.field);
    return fields;
}

namespace {

// One of the two numbers of "K/N": whole, and no larger than a case count can be.
enum class ShardNumber { Valid, NotANumber, TooLarge };

ShardNumber shardNumber(std::string_view text, std::size_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || ptr != end) return ShardNumber::NotANumber;
    return error == std::errc::result_out_of_range ? ShardNumber::TooLarge : ShardNumber::Valid;
}

}  // namespace

ShardResult parseShard(const std::string& text) {
    ShardResult r;
    const std::size_t slash = text.find('/');
    const std::string_view whole(text);
    std::size_t k = 0, n = 0;
    const ShardNumber kRead = slash == std::string::npos ? ShardNumber::NotANumber
                                                         : shardNumber(whole.substr(0, slash), k);
    const ShardNumber nRead = slash == std::string::npos ? ShardNumber::NotANumber
                                                         : shardNumber(whole.substr(slash + 1), n);
    if (kRead == ShardNumber::NotANumber || nRead == ShardNumber::NotANumber) {
        r.error = "--shard erwartet K/N mit ganzen Zahlen, z. B. 3/8, nicht „" + text + "“";
    } else if (kRead == ShardNumber::TooLarge || nRead == ShardNumber::TooLarge) {
        const std::string_view large =
            kRead == ShardNumber::TooLarge ? whole.substr(0, slash) : whole.substr(slash + 1);
        r.error = "--shard " + text + ": " + std::string(large) + " ist zu groß (höchstens " +
                  std::to_string(std::numeric_limits<std::size_t>::max()) + ")";
    } else if (n < 1 || k < 1 || k > n) {
        r.error = "--shard " + text + ": es muss 1 <= K <= N gelten";
    } else {
        r.ok = true;
        r.shard = {k, n};
    }
    return r;
}

CaseSelection selectShard(std::size_t caseCount, Shard shard) {
    CaseSelection s;
    s.first = shard.k - 1;
    s.stride = shard.n;
    // Cases first, first + stride, … below caseCount; counted so that nothing can overflow even
    // for a stride as large as a size_t holds (first + j·stride never exceeds caseCount - 1).
    s.count = caseCount > s.first ? (caseCount - 1 - s.first) / s.stride + 1 : 0;
    return s;
}

}  // namespace tesmo
