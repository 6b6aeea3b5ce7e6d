#include "setup/engine/expand.h"

#include <algorithm>

#include "setup/engine/script_text.h"
#include "setup/engine/symbol.h"

using namespace expandlimits;

namespace {

// A result with a fixed capacity: whatever does not fit is cut.
class BoundedText {
 public:
  size_t Append(std::string_view s) {
    size_t n = std::min(s.size(), kMaxResult - text_.size());
    text_.append(s.data(), n);
    return n;
  }
  bool Full() const { return text_.size() >= kMaxResult; }
  size_t Size() const { return text_.size(); }
  const std::string& Text() const { return text_; }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

bool OpensReference(std::string_view text, size_t i) {
  return text[i] == '<' && i + 1 < text.size() && !scripttext::IsSpace(text[i + 1]);
}

class Expander {
 public:
  Expander(const SymbolTable& symbols, SymbolLookups& lookups)
      : symbols_(symbols), lookups_(lookups) {}

  void Expand(std::string_view text, int depth, BoundedText& out);

 private:
  size_t Reference(std::string_view text, size_t pos, int depth, BoundedText& out);
  size_t Evaluate(const std::string& alternative, int depth, BoundedText& out);
  size_t Ini(std::string_view query, BoundedText& out);

  const SymbolTable& symbols_;
  SymbolLookups& lookups_;
  unsigned evaluations_ = 0;
};

void Expander::Expand(std::string_view text, int depth, BoundedText& out) {
  if (depth >= kMaxDepth) return;
  text = text.substr(0, text.find('\0'));
  size_t i = 0;
  while (i < text.size() && !out.Full()) {
    if (OpensReference(text, i)) {
      i = Reference(text, i + 1, depth, out);
    } else {
      out.Append(text.substr(i, 1));
      ++i;
    }
  }
}

// pos is just after the '<'; returns the position after the reference
// (after its '>', or the end of a text that ends inside it).
size_t Expander::Reference(std::string_view text, size_t pos, int depth, BoundedText& out) {
  bool won = false;
  for (;;) {
    // The alternative runs to the next '=' or '>' outside nested references.
    size_t start = pos;
    int nested = 0;
    for (; pos < text.size(); ++pos) {
      char c = text[pos];
      if (OpensReference(text, pos)) {
        ++nested;
      } else if (c == '>') {
        if (nested == 0) break;
        --nested;
      } else if (c == '=' && nested == 0) {
        break;
      }
    }
    // Once one alternative has won, the rest only need to be skipped: what
    // they would produce is discarded anyway.
    if (!won && evaluations_ < kMaxEvaluations) {
      ++evaluations_;
      BoundedText own;
      Expand(text.substr(start, std::min(pos - start, kMaxAlternative)), depth + 1, own);
      won = Evaluate(own.Text(), depth + 1, out) > 0;
    }
    if (pos >= text.size()) return pos;
    if (text[pos++] == '>') return pos;
  }
}

size_t Expander::Evaluate(const std::string& alternative, int depth, BoundedText& out) {
  if (alternative.empty()) return 0;
  const std::string rest = alternative.substr(1);
  switch (alternative[0]) {
    case '!':
      return out.Append(rest);
    case '%':
      return rest.empty() ? 0 : out.Append(lookups_.Environment(rest));
    case '@': {
      RegRoot root;
      std::string key, value;
      if (!ParseRegistryReference(rest, &root, &key, &value)) return 0;
      return out.Append(lookups_.RegistryValue(root, key, value));
    }
    case '#':
      return Ini(rest, out);
    default: {
      const SetupSymbol* symbol = symbols_.ByName(alternative);
      if (!symbol) return 0;
      size_t before = out.Size();
      Expand(symbol->value, depth + 1, out);
      return out.Size() - before;
    }
  }
}

// file?section?key: exactly three parts, else nothing.
size_t Expander::Ini(std::string_view query, BoundedText& out) {
  size_t q1 = query.find('?');
  if (q1 == std::string_view::npos) return 0;
  size_t q2 = query.find('?', q1 + 1);
  if (q2 == std::string_view::npos || query.find('?', q2 + 1) != std::string_view::npos) return 0;
  return out.Append(lookups_.IniValue(std::string(query.substr(0, q1)),
                                      std::string(query.substr(q1 + 1, q2 - q1 - 1)),
                                      std::string(query.substr(q2 + 1))));
}

}  // namespace

bool ParseRegistryReference(std::string_view text, RegRoot* root, std::string* keyPath,
                            std::string* valueName) {
  const size_t length = RegRootPrefix(text, root);
  if (length == 0) return false;
  std::string_view rest = text.substr(length);
  if (!rest.empty() && rest[0] == '\\') rest.remove_prefix(1);
  const size_t last = rest.rfind('\\');
  if (last == std::string_view::npos) {
    keyPath->clear();
    valueName->assign(rest.data(), rest.size());
  } else {
    keyPath->assign(rest.data(), last);
    const std::string_view name = rest.substr(last + 1);
    valueName->assign(name.data(), name.size());
  }
  return true;
}

std::string ExpandSymbols(std::string_view text, const SymbolTable& symbols,
                          SymbolLookups& lookups) {
  Expander expander(symbols, lookups);
  BoundedText out;
  expander.Expand(text, 0, out);
  return out.Take();
}

std::string ExpandSymbol(int32_t id, const SymbolTable& symbols, SymbolLookups& lookups) {
  const SetupSymbol* symbol = symbols.ById(id);
  return symbol ? ExpandSymbols(symbol->value, symbols, lookups) : std::string();
}
