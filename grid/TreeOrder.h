#pragma once
#include <vector>

// Turns a flat sort order of rows into one that keeps the tree: each row's descendants follow
// it, and siblings under one parent (top-level rows under none) keep the order the flat sort
// gave them. levels holds each row's tree level in the current row order, where a row's parent
// is the nearest earlier row of a lower level; flatOrder lists row numbers, first to last.
std::vector<int> TreeSortOrder(const std::vector<int>& levels, const std::vector<int>& flatOrder);
