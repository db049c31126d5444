#include "study/case_list.h"

#include <charconv>
#include <limits>

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

ShardResult parseShard(const std::string& text) {
    ShardResult r;
    const std::size_t slash = text.find('/');
    const char* first = text.data();
    const char* end = text.data() + text.size();
    std::size_t k = 0, n = 0;
    const bool ok = slash != std::string::npos &&
                    std::from_chars(first, first + slash, k).ptr == first + slash &&
                    std::from_chars(first + slash + 1, end, n).ptr == end && slash > 0 &&
                    slash + 1 < text.size();
    if (!ok) {
        r.error = "--shard erwartet K/N mit ganzen Zahlen, z. B. 3/8, nicht „" + text + "“";
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
    s.count = caseCount > s.first ? (caseCount - s.first + s.stride - 1) / s.stride : 0;
    return s;
}

}  // namespace tesmo
