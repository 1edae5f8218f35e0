// The plural rule of a gettext catalogue: its header's "Plural-Forms: nplurals=2; plural=(n != 1);"
// says how many forms a counted text has and which form a count takes. The expression is a C
// expression over the unsigned count n: integers, parentheses, ! * / % + - < > <= >= == != && || and
// ?:, as the gettext manual describes it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelimon {

class PluralForms {
  public:
    // English's rule (and gettext's default without a header): two forms, the first for n == 1.
    PluralForms();

    // The rule of a catalogue header (its lines "Name: value"); the default rule when the header
    // has no Plural-Forms line. Nullopt when the line is malformed: nplurals missing or outside
    // 1..16, or an expression that does not parse (or nests deeper than 64 levels).
    static std::optional<PluralForms> FromHeader(std::string_view header);

    // The form that `n` takes, 0 .. count()-1. A form the expression computes outside that range
    // (or a division by zero) gives form 0, as gettext does.
    size_t FormOf(uint64_t n) const;
    size_t count() const { return count_; }

  private:
    enum class Op {
        kCount,
        kNumber,
        kNot,
        kChoice,
        kMul,
        kDiv,
        kMod,
        kAdd,
        kSub,
        kLess,
        kGreater,
        kLessEqual,
        kGreaterEqual,
        kEqual,
        kNotEqual,
        kAnd,
        kOr
    };
    // One node of the parsed expression; operands are indices into nodes_.
    struct Node {
        Op op;
        uint64_t value = 0;  // kNumber
        int a = -1;
        int b = -1;
        int c = -1;  // kChoice: a ? b : c
    };
    class Parser;

    std::optional<uint64_t> Evaluate(int node, uint64_t n) const;

    size_t count_ = 2;
    std::vector<Node> nodes_;
    int root_ = -1;
};

}  // namespace pelimon
