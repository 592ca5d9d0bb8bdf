// A typed array an application derives from CZqDynamicArray: the base owns
// and grows the block and checks indices; this class stores and reads ints.
#ifndef ZQ_EXAMPLES_INTARRAY_H
#define ZQ_EXAMPLES_INTARRAY_H

#include <cstring>

#include <ZarqLang.h>

class IntArray : public zqlang::CZqDynamicArray {
 public:
  IntArray() : CZqDynamicArray(sizeof(int)) {}

  // Appends value; grows the block by the need plus 16 when it is full.
  void add(int value) {
    EnsureAtLeastFree(1);
    Elements()[mSize++] = value;
  }

  // The element at index; ArrayIndexOutOfBoundsException outside 0..size()-1.
  int get(int index) const {
    VerifyIndexForGetting(index);
    return Elements()[index];
  }

  // Removes the element at index, moving the later ones down.
  void removeAt(int index) {
    VerifyIndexForGetting(index);
    std::memmove(Elements() + index, Elements() + index + 1,
                 static_cast<std::size_t>(mSize - index - 1) * sizeof(int));
    --mSize;
  }

 private:
  int* Elements() const { return static_cast<int*>(mData); }
};

#endif  // ZQ_EXAMPLES_INTARRAY_H
