#include "platform/sim/wildcard.h"

#include <vector>

#include "common/text.h"

namespace lx {

namespace {

class Matcher {
 public:
  Matcher(const std::u16string& p, const std::u16string& n)
      : p_(p), n_(n), memo_((p.size() + 1) * (n.size() + 1), -1) {}

  bool Match(size_t pi, size_t ni) {
    int& m = memo_[pi * (n_.size() + 1) + ni];
    if (m < 0) m = Compute(pi, ni) ? 1 : 0;
    return m == 1;
  }

 private:
  bool Compute(size_t pi, size_t ni) {
    if (pi == p_.size()) return ni == n_.size();
    char16_t c = p_[pi];
    if (c == u'*') {
      for (size_t k = ni; k <= n_.size(); ++k)
        if (Match(pi + 1, k)) return true;
      return false;
    }
    if (c == u'?') {
      if (ni < n_.size() && Match(pi + 1, ni + 1)) return true;
      // A '?' may stand for nothing at the end of the name or before a dot
      // that the pattern continues with.
      bool atEnd = ni == n_.size();
      bool beforeDot = ni < n_.size() && n_[ni] == u'.' && pi + 1 < p_.size() &&
                       (p_[pi + 1] == u'.' || p_[pi + 1] == u'?');
      return (atEnd || beforeDot) && Match(pi + 1, ni);
    }
    return ni < n_.size() && n_[ni] == c && Match(pi + 1, ni + 1);
  }

  const std::u16string& p_;
  const std::u16string& n_;
  std::vector<int> memo_;
};

bool Plain(const std::u16string& p, const std::u16string& n) { return Matcher(p, n).Match(0, 0); }

}  // namespace

bool MatchesWildcard(const std::u16string& pattern, const std::u16string& name) {
  std::u16string p = ToLowerAscii(pattern);
  std::u16string n = ToLowerAscii(name);
  if (p == u"*.*") return true;
  if (!p.empty() && p.back() == u'.') {
    // "name." and "*." list names without an extension.
    if (n.find(u'.') != std::u16string::npos && n != u"." && n != u"..") return false;
    p.pop_back();
    return Plain(p, n);
  }
  if (Plain(p, n)) return true;
  if (p.size() >= 2 && p.compare(p.size() - 2, 2, u".*") == 0 && n.find(u'.') == std::u16string::npos)
    return Plain(p.substr(0, p.size() - 2), n);
  return false;
}

}  // namespace lx
