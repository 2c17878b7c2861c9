#pragma once
// Asking the processor for memory a coming step will use. A long list's rows, texts and keys
// lie in different orders (the rows sorted, the texts as the file had them), and a walk in one
// order would otherwise wait for memory at nearly every step of the other.
//
// Always inlined, as is every helper made of them: GCC takes a function that only prefetches
// for one without effects and drops the calls to it.

#if defined(__GNUC__) || defined(__clang__)
#define LQ_PREFETCH_INLINE inline __attribute__((always_inline))
#else
#define LQ_PREFETCH_INLINE inline
#endif

namespace lq {

// How many rows (or keys) ahead of the one in hand a walk asks: far enough for the memory to
// arrive, near enough for it to stay in the cache until then.
inline constexpr int kPrefetchAhead = 12;

LQ_PREFETCH_INLINE void Prefetch(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
}

LQ_PREFETCH_INLINE void PrefetchForWriting(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(p, 1);
#else
  (void)p;
#endif
}

}  // namespace lq
