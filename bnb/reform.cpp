#include "bnb/reform.hpp"

#include <algorithm>
#include <cmath>

#include "simplex/driver.hpp"

namespace torva::bnb {
namespace {

struct Entry {
  int row;
  double value;
};

// The copy's data under construction: columns as entry lists.
class Builder {
 public:
  explicit Builder(ModelData& d) : d_(d), cols_(static_cast<std::size_t>(d.n)) {
    for (int j = 0; j < d.n; ++j)
      for (int k = d.colBeg[j]; k < d.colBeg[j] + d.colLen[j]; ++k)
        cols_[static_cast<std::size_t>(j)].push_back({d.rowIdx[k], d.value[k]});
    if (d.varType.empty()) d.varType.assign(static_cast<std::size_t>(d.n), 'C');
  }
  int addBinary() {
    cols_.emplace_back();
    d_.cost.push_back(0.0);
    d_.lower.push_back(0.0);
    d_.upper.push_back(1.0);
    d_.varType.push_back('B');
    return d_.n++;
  }
  // Adds the row sum coef_k x_k (type) rhs.
  void addRow(const std::vector<std::pair<int, double>>& terms, char type, double rhs) {
    const int i = d_.m++;
    d_.rhs.push_back(rhs);
    d_.conType.push_back(type);
    for (const auto& [j, a] : terms) cols_[static_cast<std::size_t>(j)].push_back({i, a});
  }
  void finish() {
    d_.colBeg.assign(1, 0);
    d_.colLen.clear();
    d_.rowIdx.clear();
    d_.value.clear();
    for (const auto& col : cols_) {
      for (const Entry& e : col) {
        d_.rowIdx.push_back(e.row);
        d_.value.push_back(e.value);
      }
      d_.colLen.push_back(static_cast<int>(col.size()));
      d_.colBeg.push_back(static_cast<int>(d_.rowIdx.size()));
    }
    d_.nnz = static_cast<int>(d_.rowIdx.size());
    d_.scVars.clear();
    d_.scLower.clear();
    d_.sets.clear();
    d_.invalidateStats();
  }

 private:
  ModelData& d_;
  std::vector<std::vector<Entry>> cols_;
};

double finite(double v, double bigM) { return std::fabs(v) >= kInfinity ? (v > 0 ? bigM : -bigM) : v; }

// Columns whose infinite bound a link replaced by the big-M value.
struct BigMColumns {
  std::vector<char> mark;
  unsigned count = 0;
  void note(int j, double lower, double upper, bool usesLower) {
    if (std::fabs(upper) < kInfinity && (!usesLower || std::fabs(lower) < kInfinity)) return;
    if (mark[static_cast<std::size_t>(j)]) return;
    mark[static_cast<std::size_t>(j)] = 1;
    ++count;
  }
};

// Links x_j to the indicator sum of binaries: x_j <= u (sum z), and
// x_j >= l (sum z) when the lower bound is negative.
void link(Builder& b, const ModelData& d, int j, const std::vector<int>& z, double bigM, BigMColumns& big) {
  const double u = finite(d.upper[static_cast<std::size_t>(j)], bigM);
  const double l = finite(d.lower[static_cast<std::size_t>(j)], bigM);
  big.note(j, d.lower[static_cast<std::size_t>(j)], d.upper[static_cast<std::size_t>(j)], l < 0);
  if (u > 0) {
    std::vector<std::pair<int, double>> t{{j, 1.0}};
    for (int k : z) t.push_back({k, -u});
    b.addRow(t, 'L', 0.0);
  }
  if (l < 0) {
    std::vector<std::pair<int, double>> t{{j, 1.0}};
    for (int k : z) t.push_back({k, -l});
    b.addRow(t, 'G', 0.0);
  }
}

}  // namespace

Reformulation reformulate(const Model& host, double bigM) {
  Reformulation out;
  const ModelData& h = host.data;
  if (h.scVars.empty() && h.sets.empty()) return out;
  out.model = driver::solverCopy(host);
  ModelData& d = out.model->data;
  // Quadratic terms and cones name the host's rows and columns, which keep
  // their places (new ones come after them).
  d.qc = h.qc;
  d.cones = h.cones;
  Builder b(d);
  BigMColumns big{std::vector<char>(static_cast<std::size_t>(h.n), 0)};
  for (std::size_t k = 0; k < h.scVars.size(); ++k) {
    // x = 0 or scLower <= x <= upper.
    const int j = h.scVars[k];
    const int z = b.addBinary();
    out.indicators.push_back({z, j});
    const double u = finite(h.upper[static_cast<std::size_t>(j)], bigM);
    big.note(j, 0.0, h.upper[static_cast<std::size_t>(j)], false);
    const double l = h.scLower[k];
    // The column's bounds become the hull of {0} and [l, u]; the two rows
    // cut it back to the pieces.
    d.lower[static_cast<std::size_t>(j)] = std::min(0.0, l);
    d.upper[static_cast<std::size_t>(j)] = std::max(0.0, h.upper[static_cast<std::size_t>(j)]);
    b.addRow({{j, 1.0}, {z, -u}}, 'L', 0.0);
    if (l != 0) b.addRow({{j, 1.0}, {z, -l}}, 'G', 0.0);
    ++out.semiCont;
  }
  const ColumnGroups& s = h.sets;
  for (int k = 0; k < s.count(); ++k) {
    const std::vector<int> members(s.cols.begin() + s.beg[static_cast<std::size_t>(k)],
                                   s.cols.begin() + s.beg[static_cast<std::size_t>(k) + 1]);
    const char type = s.type[static_cast<std::size_t>(k)];
    if (type == 2) {
      // At most two consecutive members nonzero: one binary per segment.
      ++out.sets[1];
      if (members.size() < 3) continue;
      std::vector<int> seg;
      for (std::size_t i = 0; i + 1 < members.size(); ++i) seg.push_back(b.addBinary());
      out.sos2.push_back({members, seg});
      std::vector<std::pair<int, double>> sum;
      for (int y : seg) sum.push_back({y, 1.0});
      b.addRow(sum, 'L', 1.0);
      for (std::size_t i = 0; i < members.size(); ++i) {
        std::vector<int> z;
        if (i > 0) z.push_back(seg[i - 1]);
        if (i < seg.size()) z.push_back(seg[i]);
        link(b, d, members[i], z, bigM, big);
      }
      continue;
    }
    // SOS1 (at most one nonzero), SOS3 (exactly one nonzero) and cardinality
    // sets (at most card nonzero): one indicator per member.
    const bool sos3 = type == 3;
    const bool card = type == 4;
    ++out.sets[sos3 ? 2 : card ? 3 : 0];
    std::vector<std::pair<int, double>> sum;
    for (int j : members) {
      const int z = b.addBinary();
      sum.push_back({z, 1.0});
      out.indicators.push_back({z, j});
      link(b, d, j, {z}, bigM, big);
    }
    const double limit = card ? s.card[static_cast<std::size_t>(k)] : 1.0;
    b.addRow(sum, sos3 ? 'E' : 'L', limit);
  }
  b.finish();
  out.bigM = big.count;
  return out;
}

std::vector<double> Reformulation::extend(const std::vector<double>& x) const {
  if (!model) return x;
  std::vector<double> p = x;
  p.resize(static_cast<std::size_t>(model->data.n), 0.0);
  auto nonzero = [&](int j) { return x[static_cast<std::size_t>(j)] != 0.0; };
  for (const Indicator& ind : indicators) p[static_cast<std::size_t>(ind.z)] = nonzero(ind.col) ? 1.0 : 0.0;
  for (const Segments& s : sos2) {
    // The segment of the first non-zero member; the one before it when that
    // member is the last.
    for (std::size_t k = 0; k < s.members.size(); ++k) {
      if (!nonzero(s.members[k])) continue;
      const std::size_t seg = std::min(k, s.segs.size() - 1);
      p[static_cast<std::size_t>(s.segs[seg])] = 1.0;
      break;
    }
  }
  return p;
}

}  // namespace torva::bnb
