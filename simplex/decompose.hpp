// Splitting a linear model into independent blocks: rows and columns that
// share no matrix entry with the rest.
#pragma once

#include <vector>

#include "base/model_data.hpp"

namespace torva {

struct BlockSplit {
  int count = 0;
  std::vector<int> rowBlock;  // m: block of each row
  std::vector<int> colBlock;  // n: block of each column
};

// Connected components of the bipartite row-column graph of the matrix. An
// empty row or column is a block of its own. Blocks are numbered in the
// order of their first row (rows first, then columns without rows).
BlockSplit splitBlocks(const ModelData& d);

// The linear data of block b (rows and columns in their original order).
void extractBlock(const ModelData& d, const BlockSplit& split, int b, ModelData& out,
                  std::vector<int>& rows, std::vector<int>& cols);

}  // namespace torva
