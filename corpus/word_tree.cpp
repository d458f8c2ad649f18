#include "corpus/word_tree.h"

#include <algorithm>
#include <utility>

namespace tavro {
namespace {

int HeightOf(const WordNode* node) { return node != nullptr ? node->height : 0; }

void UpdateHeight(WordNode* node) {
    node->height = static_cast<std::int8_t>(1 + std::max(HeightOf(node->left), HeightOf(node->right)));
}

WordNode* RotateRight(WordNode* node) {
    WordNode* pivot = node->left;
    node->left = pivot->right;
    pivot->right = node;
    UpdateHeight(node);
    UpdateHeight(pivot);
    return pivot;
}

WordNode* RotateLeft(WordNode* node) {
    WordNode* pivot = node->right;
    node->right = pivot->left;
    pivot->left = node;
    UpdateHeight(node);
    UpdateHeight(pivot);
    return pivot;
}

// Restores the AVL balance of `node`, whose subtrees are balanced and differ in height by
// at most two, and returns the subtree's new root.
WordNode* Rebalance(WordNode* node) {
    UpdateHeight(node);
    const int balance = HeightOf(node->left) - HeightOf(node->right);
    if (balance > 1) {
        if (HeightOf(node->left->left) < HeightOf(node->left->right)) {
            node->left = RotateLeft(node->left);
        }
        return RotateRight(node);
    }
    if (balance < -1) {
        if (HeightOf(node->right->right) < HeightOf(node->right->left)) {
            node->right = RotateRight(node->right);
        }
        return RotateLeft(node);
    }
    return node;
}

WordNode* BuildRange(std::vector<WordEntry>& sorted, std::size_t begin, std::size_t end) {
    if (begin == end) return nullptr;
    const std::size_t middle = begin + (end - begin) / 2;
    auto* node = new WordNode{std::move(sorted[middle])};
    node->left = BuildRange(sorted, begin, middle);
    node->right = BuildRange(sorted, middle + 1, end);
    UpdateHeight(node);
    return node;
}

}  // namespace

WordNode* InsertWord(WordNode* root, const WordEntry& entry) {
    if (root == nullptr) return new WordNode{entry};
    const int order = CompareWords(entry.word, root->entry.word);
    if (order == 0) {
        root->entry.count += entry.count;
        return root;
    }
    if (order < 0) {
        root->left = InsertWord(root->left, entry);
    } else {
        root->right = InsertWord(root->right, entry);
    }
    return Rebalance(root);
}

bool FindWord(const WordNode* root, std::string_view word) {
    while (root != nullptr) {
        const int order = CompareWords(word, root->entry.word);
        if (order == 0) return true;
        root = order < 0 ? root->left : root->right;
    }
    return false;
}

void DeleteTree(WordNode* root) {
    if (root == nullptr) return;
    DeleteTree(root->left);
    DeleteTree(root->right);
    delete root;
}

void ResetCounts(WordNode* root) {
    if (root == nullptr) return;
    ResetCounts(root->left);
    root->entry.count = 0;
    ResetCounts(root->right);
}

void CollectInOrder(const WordNode* root, std::vector<WordEntry>& list) {
    if (root == nullptr) return;
    CollectInOrder(root->left, list);
    list.push_back(root->entry);
    CollectInOrder(root->right, list);
}

void CollectNodesInOrder(WordNode* root, std::vector<WordNode*>& nodes) {
    if (root == nullptr) return;
    CollectNodesInOrder(root->left, nodes);
    nodes.push_back(root);
    CollectNodesInOrder(root->right, nodes);
}

void InsertEntries(const std::vector<WordEntry>& list, WordNode*& root) {
    for (const WordEntry& entry : list) root = InsertWord(root, entry);
}

WordNode* BuildTreeFromSorted(std::vector<WordEntry>&& sorted) {
    WordNode* root = BuildRange(sorted, 0, sorted.size());
    sorted.clear();
    return root;
}

std::size_t CountNodes(const WordNode* root) {
    return root == nullptr ? 0 : 1 + CountNodes(root->left) + CountNodes(root->right);
}

int TreeHeight(const WordNode* root) { return HeightOf(root); }

}  // namespace tavro
