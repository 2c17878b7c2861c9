#pragma once
// Asking the processor for memory a coming step will use. A long list's rows, texts and keys
// lie in different orders (the rows sorted, the texts as the file had them), and a walk in one
// order would otherwise wait for memory at nearly every step of the other.

namespace lq {

inline void Prefetch(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
}

inline void PrefetchForWriting(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(p, 1);
#else
  (void)p;
#endif
}

}  // namespace lq
