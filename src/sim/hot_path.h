#pragma once
// For the few small functions that every evaluation step goes through: inlined even where the compiler
// would weigh it otherwise, since a call costs as much as their whole work. The full path of a node
// that has a short one is kept out of line, so that the short one stays small.
#if defined(__GNUC__) || defined(__clang__)
#define ZORVANT_HOT_INLINE inline __attribute__((always_inline))
#define ZORVANT_FULL_PATH __attribute__((noinline))
#elif defined(_MSC_VER)
#define ZORVANT_HOT_INLINE __forceinline
#define ZORVANT_FULL_PATH __declspec(noinline)
#else
#define ZORVANT_HOT_INLINE inline
#define ZORVANT_FULL_PATH
#endif
