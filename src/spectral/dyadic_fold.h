#pragma once
// Partial results of numbered blocks combined along one fixed binary tree, so that the total
// does not depend on how the blocks were shared out: node (level j, index k) stands for blocks
// k*2^j .. (k+1)*2^j - 1 and is its left child combined with its right child. A node whose
// right child lies wholly past the last block is its left child. Whoever holds a contiguous run
// of blocks folds them into the few whole nodes inside it; pushing those nodes, run after run
// in block order, into one more fold gives the same total, bit for bit, as one fold of every
// block.
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace plexo {

template <typename T>
class DyadicFold {
 public:
  struct Node {
    int level = 0;
    int64_t index = 0;
    T value;
  };
  // combine(left, right) turns left into the combination of the two (left's blocks first).
  using Combine = std::function<void(T& left, const T& right)>;

  explicit DyadicFold(Combine combine) : combine_(std::move(combine)) {}

  // Adds the node that follows the ones pushed so far; its siblings are merged as they meet.
  void Push(int level, int64_t index, T value) {
    nodes_.push_back(Node{level, index, std::move(value)});
    while (nodes_.size() >= 2) {
      Node& right = nodes_[nodes_.size() - 1];
      Node& left = nodes_[nodes_.size() - 2];
      if (left.level != right.level || left.index % 2 != 0 || right.index != left.index + 1) break;
      combine_(left.value, right.value);
      left.level += 1;
      left.index /= 2;
      nodes_.pop_back();
    }
  }

  // The whole nodes so far, left to right (each finished: nothing left of it joins it here).
  std::vector<Node>& Nodes() { return nodes_; }

  // The total once the last block is in: the remaining nodes are the left children of
  // ancestors whose right parts all lie further right, so they combine from the right.
  // Empty T when nothing was pushed.
  T Finish() {
    if (nodes_.empty()) return T{};
    T total = std::move(nodes_.back().value);
    for (size_t i = nodes_.size() - 1; i-- > 0;) {
      combine_(nodes_[i].value, total);
      total = std::move(nodes_[i].value);
    }
    nodes_.clear();
    return total;
  }

 private:
  Combine combine_;
  std::vector<Node> nodes_;
};

}  // namespace plexo
