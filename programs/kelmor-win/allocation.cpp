// The program's own allocation operators. The C++ library's throw bad_alloc, which links
// in the whole exception machinery (a third of the program) for a program that catches
// nothing; a failed allocation ends the program here, as the uncaught exception would.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
    if (void* memory = malloc(size != 0 ? size : 1)) return memory;
    abort();
}

void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { free(memory); }
void operator delete[](void* memory) noexcept { free(memory); }
void operator delete(void* memory, std::size_t) noexcept { free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { free(memory); }
