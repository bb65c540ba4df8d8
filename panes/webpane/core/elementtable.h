// webpane's table of browser elements: 250 slots of which at most 249 are
// used, in the order the elements were added; each element has the id the
// library-wide counter gave it, and ids are never given twice, not even
// after a delete. Lookup scans from the first slot.
// Portable: no Windows headers.
#pragma once
#include <memory>
#include <utility>
#include <vector>

template <class T>
class TElementTable {
public:
  static constexpr int kSlots = 250;
  static constexpr int kMostUsed = kSlots - 1;

  TElementTable() { Slots.reserve(kSlots); }
  TElementTable(const TElementTable&) = delete;
  TElementTable& operator=(const TElementTable&) = delete;

  // Appends the element under the next id; -1 (and the counter unchanged)
  // when the table is full or there is no element.
  int Add(std::unique_ptr<T> element) {
    if (!element || Count() >= kMostUsed) return -1;
    const int id = NextId++;
    Slots.emplace_back(id, std::move(element));
    return id;
  }
  // Null for an id that is not in the table.
  T* Find(int id) const {
    for (const auto& s : Slots)
      if (s.first == id) return s.second.get();
    return nullptr;
  }
  // Takes the element out (the later ones move down, order kept) and hands
  // it to the caller; null for an unknown id.
  std::unique_ptr<T> Take(int id) {
    for (auto it = Slots.begin(); it != Slots.end(); ++it) {
      if (it->first != id) continue;
      std::unique_ptr<T> e = std::move(it->second);
      Slots.erase(it);
      return e;
    }
    return nullptr;
  }
  // Deletes every element, first slot first.
  void Clear() {
    while (!Slots.empty()) Take(Slots.front().first);
  }
  int Count() const { return static_cast<int>(Slots.size()); }
  // The id in a used slot.
  int IdAt(int slot) const { return Slots[static_cast<size_t>(slot)].first; }

private:
  std::vector<std::pair<int, std::unique_ptr<T>>> Slots;
  int NextId = 0;
};
