// An ordered collection that owns copies of its elements (clones for the
// polymorphic targets and addresses).
#pragma once

#include <vector>

template <class T>
class SnmpCollection {
 public:
  SnmpCollection() = default;
  SnmpCollection(const SnmpCollection& other) { *this = other; }
  ~SnmpCollection() { clear(); }
  SnmpCollection& operator=(const SnmpCollection& other) {
    if (this == &other) return *this;
    clear();
    for (const T* item : other.items) add(*item);
    return *this;
  }

  SnmpCollection& operator+=(const T& item) {
    add(item);
    return *this;
  }
  int size() const { return static_cast<int>(items.size()); }
  const T& operator[](int i) const { return *items[i]; }
  T& operator[](int i) { return *items[i]; }
  void clear() {
    for (T* item : items) delete item;
    items.clear();
  }

 private:
  void add(const T& item) {
    T* copy = static_cast<T*>(item.clone());
    if (copy) items.push_back(copy);
  }

  std::vector<T*> items;
};
