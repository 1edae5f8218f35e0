#include "common/plural_forms.h"

#include <cctype>

namespace pelimon {
namespace {

constexpr size_t kMaxForms = 16;
constexpr int kMaxDepth = 64;
constexpr size_t kMaxNodes = 256;  // real rules need a few dozen

// The value of `key=` in `line` ("nplurals=2; plural=n != 1;"), up to its ';' or the line's end.
std::optional<std::string_view> Field(std::string_view line, std::string_view key) {
    for (size_t at = line.find(key); at != std::string_view::npos; at = line.find(key, at + 1)) {
        const bool starts_word = at == 0 || line[at - 1] == ';' || line[at - 1] == ' ' || line[at - 1] == '\t';
        size_t value = at + key.size();
        while (value < line.size() && (line[value] == ' ' || line[value] == '\t')) {
            ++value;
        }
        if (starts_word && value < line.size() && line[value] == '=') {
            std::string_view rest = line.substr(value + 1);
            return rest.substr(0, rest.find(';'));
        }
    }
    return std::nullopt;
}

}  // namespace

// Recursive descent over the C expression, lowest precedence first; each level appends its nodes.
class PluralForms::Parser {
  public:
    Parser(std::string_view text, std::vector<Node>& nodes) : text_(text), nodes_(nodes) {}

    // The root node, or -1 when the text is not one whole expression.
    int Parse() {
        const int root = Choice();
        Skip();
        return at_ == text_.size() ? root : -1;
    }

  private:
    int Choice() {
        if (++depth_ > kMaxDepth) {
            return -1;
        }
        int node = Or();
        if (node >= 0 && Take("?")) {
            const int yes = Choice();
            const int no = yes >= 0 && Take(":") ? Choice() : -1;
            node = no >= 0 ? Add({Op::kChoice, 0, node, yes, no}) : -1;
        }
        --depth_;
        return node;
    }
    int Or() { return Binary(&Parser::And, {{"||", Op::kOr}}); }
    int And() { return Binary(&Parser::Equality, {{"&&", Op::kAnd}}); }
    int Equality() { return Binary(&Parser::Relation, {{"==", Op::kEqual}, {"!=", Op::kNotEqual}}); }
    int Relation() {
        return Binary(&Parser::Sum,
                      {{"<=", Op::kLessEqual}, {">=", Op::kGreaterEqual}, {"<", Op::kLess}, {">", Op::kGreater}});
    }
    int Sum() { return Binary(&Parser::Product, {{"+", Op::kAdd}, {"-", Op::kSub}}); }
    int Product() { return Binary(&Parser::Unary, {{"*", Op::kMul}, {"/", Op::kDiv}, {"%", Op::kMod}}); }

    struct Operator {
        std::string_view token;
        Op op;
    };
    // operand (operator operand)*, left to right.
    int Binary(int (Parser::*operand)(), std::initializer_list<Operator> operators) {
        int node = (this->*operand)();
        while (node >= 0) {
            const Operator* found = nullptr;
            for (const Operator& candidate : operators) {
                // "!=" is not "!" and "<=" is not "<": the longer tokens come first in the lists.
                if (Take(candidate.token)) {
                    found = &candidate;
                    break;
                }
            }
            if (found == nullptr) {
                break;
            }
            const int right = (this->*operand)();
            node = right >= 0 ? Add({found->op, 0, node, right}) : -1;
        }
        return node;
    }
    int Unary() {
        Skip();
        if (at_ + 1 < text_.size() && text_[at_] == '!' && text_[at_ + 1] != '=') {
            ++at_;
            if (++depth_ > kMaxDepth) {
                return -1;
            }
            const int operand = Unary();
            --depth_;
            return operand >= 0 ? Add({Op::kNot, 0, operand}) : -1;
        }
        return Primary();
    }
    int Primary() {
        Skip();
        if (Take("(")) {
            const int inner = Choice();
            return inner >= 0 && Take(")") ? inner : -1;
        }
        if (at_ < text_.size() && text_[at_] == 'n') {
            ++at_;
            return Add({Op::kCount});
        }
        if (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) {
            uint64_t value = 0;
            while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) {
                if (value > UINT32_MAX) {
                    return -1;
                }
                value = value * 10 + static_cast<uint64_t>(text_[at_++] - '0');
            }
            return Add({Op::kNumber, value});
        }
        return -1;
    }

    void Skip() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) {
            ++at_;
        }
    }
    bool Take(std::string_view token) {
        Skip();
        if (text_.substr(at_, token.size()) != token) {
            return false;
        }
        at_ += token.size();
        return true;
    }
    int Add(Node node) {
        if (nodes_.size() >= kMaxNodes) {
            return -1;
        }
        nodes_.push_back(node);
        return static_cast<int>(nodes_.size() - 1);
    }

    std::string_view text_;
    std::vector<Node>& nodes_;
    size_t at_ = 0;
    int depth_ = 0;
};

PluralForms::PluralForms() {
    nodes_ = {{Op::kCount}, {Op::kNumber, 1}, {Op::kNotEqual, 0, 0, 1}};
    root_ = 2;
}

std::optional<PluralForms> PluralForms::FromHeader(std::string_view header) {
    constexpr std::string_view kName = "Plural-Forms:";
    std::string_view line;
    for (size_t start = 0; start < header.size();) {
        const size_t end = std::min(header.find('\n', start), header.size());
        if (header.substr(start, kName.size()) == kName) {
            line = header.substr(start + kName.size(), end - start - kName.size());
            break;
        }
        start = end + 1;
    }
    if (line.empty()) {
        return PluralForms();
    }
    const std::optional<std::string_view> count = Field(line, "nplurals");
    const std::optional<std::string_view> expression = Field(line, "plural");
    if (!count || !expression) {
        return std::nullopt;
    }
    PluralForms forms;
    forms.count_ = 0;
    std::string_view digits = *count;
    while (!digits.empty() && digits.front() == ' ') {
        digits.remove_prefix(1);
    }
    while (!digits.empty() && digits.back() == ' ') {
        digits.remove_suffix(1);
    }
    for (const char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c)) || forms.count_ > kMaxForms) {
            return std::nullopt;
        }
        forms.count_ = forms.count_ * 10 + static_cast<size_t>(c - '0');
    }
    if (forms.count_ < 1 || forms.count_ > kMaxForms) {
        return std::nullopt;
    }
    forms.nodes_.clear();
    forms.root_ = Parser(*expression, forms.nodes_).Parse();
    if (forms.root_ < 0) {
        return std::nullopt;
    }
    return forms;
}

size_t PluralForms::FormOf(uint64_t n) const {
    const std::optional<uint64_t> form = Evaluate(root_, n);
    return form && *form < count_ ? static_cast<size_t>(*form) : 0;
}

std::optional<uint64_t> PluralForms::Evaluate(int index, uint64_t n) const {
    const Node& node = nodes_[static_cast<size_t>(index)];
    switch (node.op) {
        case Op::kCount:
            return n;
        case Op::kNumber:
            return node.value;
        case Op::kNot: {
            const std::optional<uint64_t> operand = Evaluate(node.a, n);
            return operand ? std::optional<uint64_t>(*operand == 0) : std::nullopt;
        }
        case Op::kChoice: {
            const std::optional<uint64_t> condition = Evaluate(node.a, n);
            return condition ? Evaluate(*condition != 0 ? node.b : node.c, n) : std::nullopt;
        }
        case Op::kAnd:
        case Op::kOr: {
            const std::optional<uint64_t> left = Evaluate(node.a, n);
            if (!left || ((*left != 0) == (node.op == Op::kOr))) {
                return left ? std::optional<uint64_t>(*left != 0) : std::nullopt;
            }
            const std::optional<uint64_t> right = Evaluate(node.b, n);
            return right ? std::optional<uint64_t>(*right != 0) : std::nullopt;
        }
        default:
            break;
    }
    const std::optional<uint64_t> left = Evaluate(node.a, n);
    const std::optional<uint64_t> right = Evaluate(node.b, n);
    if (!left || !right) {
        return std::nullopt;
    }
    const uint64_t l = *left;
    const uint64_t r = *right;
    switch (node.op) {
        case Op::kMul:
            return l * r;
        case Op::kDiv:
            return r == 0 ? std::nullopt : std::optional<uint64_t>(l / r);
        case Op::kMod:
            return r == 0 ? std::nullopt : std::optional<uint64_t>(l % r);
        case Op::kAdd:
            return l + r;
        case Op::kSub:
            return l - r;
        case Op::kLess:
            return l < r;
        case Op::kGreater:
            return l > r;
        case Op::kLessEqual:
            return l <= r;
        case Op::kGreaterEqual:
            return l >= r;
        case Op::kEqual:
            return l == r;
        case Op::kNotEqual:
            return l != r;
        default:
            return std::nullopt;
    }
}

}  // namespace pelimon
