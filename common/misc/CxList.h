#pragma once
// CxList: the system's ordered container, an indexed list with a cursor.
//
// Elements keep the position they were added at (0-based); nothing is removed singly, so a
// position always equals the element's place in the list. The cursor is the position of the
// last element reached through First, Next, At or Add. The usual walk is First, then Next
// until it answers nullptr; Add during a walk moves the cursor to the new last element, so
// the walk continues after it.
//
// CxList<T> owns its elements; CxRefList<T> refers to elements owned elsewhere. Either way
// an element's address stays the same for as long as it is in the list.

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace tabrel {

template <class T, class Holder = std::unique_ptr<T>>
class CxList {
  public:
    CxList() = default;
    CxList(const CxList&) = delete;
    CxList& operator=(const CxList&) = delete;
    CxList(CxList&&) noexcept = default;
    CxList& operator=(CxList&&) noexcept = default;

    // Appends an element; a missing one (null) is refused. The cursor moves to it.
    bool Add(Holder element) {
        if (!element) {
            return false;
        }
        m_items.push_back(std::move(element));
        m_nFindIndex = m_items.size() - 1;
        return true;
    }

    // Cursor to position 0; the first element, or nullptr for an empty list.
    T* First() {
        m_nFindIndex = 0;
        return m_items.empty() ? nullptr : Get(0);
    }

    // The element after the cursor, or nullptr when the cursor is on the last one.
    T* Next() {
        if (m_items.empty() || m_nFindIndex + 1 >= m_items.size()) {
            return nullptr;
        }
        return At(m_nFindIndex + 1);
    }

    // The element at position i with the cursor moved there; nullptr (cursor unchanged)
    // when i is not below the count.
    T* At(std::size_t i) {
        if (i >= m_items.size()) {
            return nullptr;
        }
        m_nFindIndex = i;
        return Get(i);
    }

    // The element at position i, leaving the cursor alone; nullptr past the end.
    const T* GetAt(std::size_t i) const { return i < m_items.size() ? Get(i) : nullptr; }
    T* GetAt(std::size_t i) { return i < m_items.size() ? Get(i) : nullptr; }

    std::size_t GetCount() const { return m_items.size(); }
    std::size_t GetCursor() const { return m_nFindIndex; }

    // Removes the last element (destroying it when the list owns it); the cursor moves to the
    // new last element. False for an empty list.
    bool RemoveLast() {
        if (m_items.empty()) {
            return false;
        }
        m_items.pop_back();
        m_nFindIndex = m_items.empty() ? 0 : m_items.size() - 1;
        return true;
    }

    // Removes every element (destroying them when the list owns them); the list is empty
    // with its cursor at 0.
    void Clear() {
        m_items.clear();
        m_nFindIndex = 0;
    }

    // Plain iteration that leaves the cursor alone.
    auto begin() const { return Iterator{m_items.begin()}; }
    auto end() const { return Iterator{m_items.end()}; }

  private:
    using Items = std::vector<Holder>;

    struct Iterator {
        typename Items::const_iterator it;
        T& operator*() const { return **it; }
        T* operator->() const { return &**it; }
        Iterator& operator++() {
            ++it;
            return *this;
        }
        bool operator==(const Iterator&) const = default;
    };

    T* Get(std::size_t i) const { return &*m_items[i]; }

    Items m_items;
    std::size_t m_nFindIndex = 0;
};

// A list of elements owned elsewhere (for instance the records a user ticked).
template <class T>
using CxRefList = CxList<T, T*>;

}  // namespace tabrel
