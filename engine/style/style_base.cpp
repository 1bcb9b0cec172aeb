#include "engine/style/style_base.h"

#include <algorithm>
#include <functional>
#include <map>
#include <tuple>
#include <utility>

#include "engine/base/doc_view_error.h"

namespace quillet {

void TCustomDVInfo::Assign(const TCustomDVInfo& source) {
  BaseStyleNo = source.BaseStyleNo;
  StyleName = source.StyleName;
  Standard = source.Standard;
}

int TCustomDVInfo::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

TCustomDVInfo& TCustomDVInfos::ItemAt(int index) const {
  if (!IsValidIndex(index)) ThrowListIndexError(index);
  return *items_[static_cast<size_t>(index)];
}

std::unique_ptr<TCustomDVInfo> TCustomDVInfos::NewItem() const {
  std::unique_ptr<TCustomDVInfo> item = factory_ ? factory_() : CreateItem();
  if (!item) throw EDocViewError("Style factory returned no style");
  return item;
}

int TCustomDVInfos::AppendItem(std::unique_ptr<TCustomDVInfo> item) {
  item->collection_ = this;
  items_.push_back(std::move(item));
  return Count() - 1;
}

TCustomDVInfo& TCustomDVInfos::AddItem() { return ItemAt(AppendItem(NewItem())); }

void TCustomDVInfos::Delete(int index) {
  if (!IsValidIndex(index)) ThrowListIndexError(index);
  items_.erase(items_.begin() + index);
}

int TCustomDVInfos::IndexOf(const TCustomDVInfo* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<int>(i);
  return -1;
}

void TCustomDVInfos::Assign(const TCustomDVInfos& source) {
  if (&source == this) return;
  std::vector<std::unique_ptr<TCustomDVInfo>> copies;
  copies.reserve(source.items_.size());
  for (const auto& s : source.items_) {
    auto item = NewItem();
    item->Assign(*s);
    // Paragraph styles do not copy their next-style reference in Assign.
    item->SetNextStyleRef(s->GetNextStyleRef());
    copies.push_back(std::move(item));
  }
  items_.clear();
  for (auto& c : copies) AppendItem(std::move(c));
}

void TCustomDVInfos::AssignTo(std::vector<std::string>& strings) const {
  strings.clear();
  for (const auto& s : items_) strings.push_back(s->StyleName);
}

std::vector<std::vector<int>> TCustomDVInfos::MapCandidateGroups(const TCustomDVInfo&) const {
  std::vector<int> all(items_.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
  return {std::move(all)};
}

namespace {

// A reference held by a source style, valid in the source or -1.
int SourceRef(int32_t ref, int sourceCount) { return ref >= 0 && ref < sourceCount ? ref : -1; }

}  // namespace

void TCustomDVInfos::MergeWith(const TCustomDVInfos& source, TDVStyleMergeMode mode, TDVIntegerList& mapping) {
  mapping.Clear();
  // Fixed before anything is added: the source may be this collection.
  const int m = source.Count();
  if (m == 0) return;

  switch (mode) {
    case dvs_merge_Map:
      for (int k = 0; k < m; ++k) {
        const TCustomDVInfo& s = source.ItemAt(k);
        int best = -1;
        int32_t bestScore = 0;
        for (const std::vector<int>& group : MapCandidateGroups(s)) {
          for (int t : group) {
            int32_t score = s.SimilarityValue(ItemAt(t));
            if (best < 0 || score > bestScore || (score == bestScore && t < best)) {
              best = t;
              bestScore = score;
            }
          }
          if (best >= 0) break;
        }
        mapping.Add(best);
      }
      return;

    case dvs_merge_Append: {
      const int n0 = Count();
      for (int k = 0; k < m; ++k) {
        auto item = NewItem();
        item->Assign(source.ItemAt(k));
        mapping.Add(AppendItem(std::move(item)));
      }
      auto translate = [&](int32_t ref) {
        int j = SourceRef(ref, m);
        return j < 0 ? -1 : n0 + j;
      };
      for (int k = 0; k < m; ++k) {
        const TCustomDVInfo& s = source.ItemAt(k);
        TCustomDVInfo& copy = ItemAt(n0 + k);
        copy.BaseStyleNo = translate(s.BaseStyleNo);
        copy.SetNextStyleRef(translate(s.GetNextStyleRef()));
      }
      return;
    }

    case dvs_merge_SmartMerge:
      SmartMerge(source, m, mapping);
      return;
  }
}

namespace {

// What SmartMerge does with each source style.
struct TSmartMergePlan {
  std::vector<int> existing;    // the existing style a source style takes, or -1
  std::vector<int> copyNo;      // otherwise the copy it takes, numbered from 0
  std::vector<int> copySource;  // the source style each copy is made from
};

// Next-style references make a graph in which every style has at most one
// outgoing edge: chains that end at a style without a next style, and loops
// with chains leading into them. Mapping source style k to target t demands
// that k's next style maps to t's next style, so the mapping must follow the
// edges while it keeps every style on an equal one (equal besides the
// reference).
//
// full[k] lists the targets t equal to k onto which everything that leads
// into k can follow: each source style referencing k has a target in its own
// full list among the styles referencing t. It is built from the far ends of
// the chains inwards. The assignment then goes outwards: chain ends and loops
// first, then each style among the targets that reference its next style's
// target, always preferring targets in full. Where a complete mapping exists
// it is found this way, so merging an equal collection, or the same styles
// again, adds nothing. Styles left without a target become copies; copies
// that are equal and reference the same or equivalent styles become one, as
// equal source styles share one copy.
TSmartMergePlan PlanSmartMerge(const TCustomDVInfos& target, const std::vector<int>& g,
                               const std::function<bool(int k, int t)>& equalToTarget,
                               const std::function<bool(int k, int j)>& equalToSource) {
  constexpr int kInvalid = -2, kCopy = -3;
  const int m = static_cast<int>(g.size()), n0 = target.Count();
  auto at = [](auto& v, int i) -> auto& { return v[static_cast<size_t>(i)]; };
  auto contains = [](const std::vector<int>& sorted, int v) {
    return std::binary_search(sorted.begin(), sorted.end(), v);
  };

  // The target graph; a reference out of range matches nothing.
  std::vector<int> h(static_cast<size_t>(n0));
  std::vector<std::vector<int>> hPred(static_cast<size_t>(n0));
  for (int t = 0; t < n0; ++t) {
    const int32_t r = target.ItemAt(t).GetNextStyleRef();
    at(h, t) = r == -1 ? -1 : (r >= 0 && r < n0 ? r : kInvalid);
    if (at(h, t) >= 0) at(hPred, at(h, t)).push_back(t);
  }
  std::vector<std::vector<int>> equal(g.size());
  for (int k = 0; k < m; ++k)
    for (int t = 0; t < n0; ++t)
      if (at(h, t) != kInvalid && equalToTarget(k, t)) at(equal, k).push_back(t);

  // The loops, found by walking every chain once.
  std::vector<char> state(g.size(), 0), onLoop(g.size(), 0);  // state: 1 on this walk, 2 done
  std::vector<std::vector<int>> loops;
  for (int k = 0; k < m; ++k) {
    std::vector<int> walk;
    int x = k;
    for (; x >= 0 && at(state, x) == 0; x = at(g, x)) {
      at(state, x) = 1;
      walk.push_back(x);
    }
    if (x >= 0 && at(state, x) == 1) {
      loops.emplace_back(std::find(walk.begin(), walk.end(), x), walk.end());
      for (int c : loops.back()) at(onLoop, c) = 1;
    }
    for (int w : walk) at(state, w) = 2;
  }
  // The styles that lead into each style, loop edges left out; and an order
  // with chain ends and loop styles first, then outwards.
  std::vector<std::vector<int>> gPred(g.size());
  for (int k = 0; k < m; ++k)
    if (at(g, k) >= 0 && !at(onLoop, k)) at(gPred, at(g, k)).push_back(k);
  std::vector<int> order;
  for (int k = 0; k < m; ++k)
    if (at(g, k) < 0 || at(onLoop, k)) order.push_back(k);
  const size_t anchors = order.size();
  for (size_t i = 0; i < order.size(); ++i)
    for (int p : at(gPred, order[i])) order.push_back(p);

  std::vector<std::vector<int>> full(g.size());
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    const int x = *it;
    for (int t : at(equal, x)) {
      const bool follows = std::all_of(at(gPred, x).begin(), at(gPred, x).end(), [&](int p) {
        const std::vector<int>& qs = at(hPred, t);
        return std::any_of(qs.begin(), qs.end(), [&](int q) { return contains(at(full, p), q); });
      });
      if (follows) at(full, x).push_back(t);
    }
  }

  std::vector<int> map(g.size(), kCopy);
  auto choose = [&](int x, const std::vector<int>& candidates) {
    for (int t : candidates)
      if (contains(at(full, x), t)) return t;
    return candidates.empty() ? kCopy : candidates.front();
  };
  for (size_t i = 0; i < anchors; ++i) {
    const int x = order[i];
    if (at(onLoop, x)) continue;
    std::vector<int> candidates;
    for (int t : at(equal, x))
      if (at(h, t) == -1) candidates.push_back(t);
    at(map, x) = choose(x, candidates);
  }
  // A loop goes onto a target loop whose length divides its own, style by
  // style equal; the first whose styles are all in full, else the first.
  for (const std::vector<int>& loop : loops) {
    std::vector<int> chosen;
    for (int t : at(equal, loop[0])) {
      std::vector<int> images;
      bool allFull = true;
      int d = t;
      for (size_t i = 0; i < loop.size() && d >= 0 && contains(at(equal, loop[i]), d); ++i, d = at(h, d)) {
        allFull = allFull && contains(at(full, loop[i]), d);
        images.push_back(d);
      }
      if (images.size() != loop.size() || d != t) continue;
      if (chosen.empty() || allFull) chosen = std::move(images);
      if (allFull) break;
    }
    for (size_t i = 0; i < loop.size(); ++i) at(map, loop[i]) = chosen.empty() ? kCopy : chosen[i];
  }
  for (size_t i = anchors; i < order.size(); ++i) {
    const int x = order[i], v = at(map, at(g, x));
    std::vector<int> candidates;
    if (v >= 0)
      for (int t : at(hPred, v))
        if (contains(at(equal, x), t)) candidates.push_back(t);
    at(map, x) = choose(x, candidates);
  }

  // Copies: classes of equal styles, split until the styles of a class
  // reference the same existing style or copies of one class.
  std::vector<int> copies;
  for (int k = 0; k < m; ++k)
    if (at(map, k) == kCopy) copies.push_back(k);
  std::vector<int> cls(g.size(), -1);
  std::vector<int> firsts;
  for (int k : copies) {
    for (size_t c = 0; c < firsts.size() && at(cls, k) < 0; ++c)
      if (equalToSource(k, firsts[c])) at(cls, k) = static_cast<int>(c);
    if (at(cls, k) < 0) {
      at(cls, k) = static_cast<int>(firsts.size());
      firsts.push_back(k);
    }
  }
  for (size_t classes = 0; classes != firsts.size();) {
    classes = firsts.size();
    std::map<std::tuple<int, int, int>, int> ids;
    std::vector<int> next(g.size(), -1);
    firsts.clear();
    for (int k : copies) {
      const int j = at(g, k);
      const auto sig = j < 0 ? std::make_tuple(at(cls, k), 0, 0)
                             : at(map, j) >= 0 ? std::make_tuple(at(cls, k), 1, at(map, j))
                                               : std::make_tuple(at(cls, k), 2, at(cls, j));
      const auto [it, added] = ids.emplace(sig, static_cast<int>(firsts.size()));
      if (added) firsts.push_back(k);
      at(next, k) = it->second;
    }
    for (int k : copies) at(cls, k) = at(next, k);
  }

  TSmartMergePlan plan;
  plan.existing.assign(g.size(), -1);
  plan.copyNo.assign(g.size(), -1);
  for (int k = 0; k < m; ++k) {
    if (at(map, k) >= 0)
      at(plan.existing, k) = at(map, k);
    else
      at(plan.copyNo, k) = at(cls, k);
  }
  plan.copySource = firsts;
  return plan;
}

}  // namespace

void TCustomDVInfos::SmartMerge(const TCustomDVInfos& source, int m, TDVIntegerList& mapping) {
  std::vector<int> g(static_cast<size_t>(m));
  for (int k = 0; k < m; ++k) g[static_cast<size_t>(k)] = SourceRef(source.ItemAt(k).GetNextStyleRef(), m);
  // Equality besides the reference: a probe copy borrows the other's.
  std::vector<std::unique_ptr<TCustomDVInfo>> probes;
  for (int k = 0; k < m; ++k) {
    probes.push_back(NewItem());
    probes.back()->Assign(source.ItemAt(k));
  }
  auto equalBesidesRef = [&probes](int k, const TCustomDVInfo& other) {
    TCustomDVInfo& probe = *probes[static_cast<size_t>(k)];
    probe.SetNextStyleRef(other.GetNextStyleRef());
    return probe.IsSimpleEqual(other);
  };
  const TSmartMergePlan plan = PlanSmartMerge(
      *this, g, [&](int k, int t) { return equalBesidesRef(k, ItemAt(t)); },
      [&](int k, int j) { return equalBesidesRef(k, source.ItemAt(j)); });

  const int n0 = Count();
  for (int s : plan.copySource) {
    auto item = NewItem();
    item->Assign(source.ItemAt(s));
    AppendItem(std::move(item));
  }
  auto targetOf = [&](int k) {
    const size_t i = static_cast<size_t>(k);
    return plan.existing[i] >= 0 ? plan.existing[i] : n0 + plan.copyNo[i];
  };
  auto translate = [&](int32_t ref) {
    const int j = SourceRef(ref, m);
    return j < 0 ? -1 : targetOf(j);
  };
  for (size_t c = 0; c < plan.copySource.size(); ++c) {
    const TCustomDVInfo& s = source.ItemAt(plan.copySource[c]);
    TCustomDVInfo& copy = ItemAt(n0 + static_cast<int>(c));
    copy.BaseStyleNo = translate(s.BaseStyleNo);
    copy.SetNextStyleRef(translate(s.GetNextStyleRef()));
  }
  for (int k = 0; k < m; ++k) mapping.Add(targetOf(k));
}

}  // namespace quillet
