#include "grid/TreeOrder.h"

#include <utility>

std::vector<int> TreeSortOrder(const std::vector<int>& levels, const std::vector<int>& flatOrder) {
  const int n = static_cast<int>(levels.size());
  // Parent of each row; the root (no parent) is node n.
  std::vector<int> parent(n);
  std::vector<int> open;
  for (int r = 0; r < n; ++r) {
    while (!open.empty() && levels[open.back()] >= levels[r])
      open.pop_back();
    parent[r] = open.empty() ? n : open.back();
    open.push_back(r);
  }
  // Children of each node in the flat order: filled by walking the flat order once.
  std::vector<int> first(n + 2, 0);
  for (int r = 0; r < n; ++r)
    ++first[parent[r] + 1];
  for (int node = 0; node <= n; ++node)
    first[node + 1] += first[node];
  std::vector<int> children(n);
  std::vector<int> fill(first.begin(), first.end() - 1);
  for (int row : flatOrder)
    children[fill[parent[row]]++] = row;
  // Depth first from the root: each row, then its children's subtrees.
  std::vector<int> order;
  order.reserve(n);
  std::vector<std::pair<int, int>> stack{{n, first[n]}};
  while (!stack.empty()) {
    auto& [node, next] = stack.back();
    if (next == first[node + 1]) {
      stack.pop_back();
      continue;
    }
    const int child = children[next++];
    order.push_back(child);
    stack.emplace_back(child, first[child]);
  }
  return order;
}
