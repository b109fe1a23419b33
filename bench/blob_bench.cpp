// Large blobs: reading a blob and searching it costs one pass over its bytes
// and about one copy of them in memory, whatever its size. Each case runs on
// 1, 10 and 100 MB; time per byte should stay flat (bytes_per_second) and the
// counter peak_per_byte (the most memory the call held at once, divided by
// the blob's size) should stay near 1. The exception is BM_ListLineAll, whose
// answer is itself a copy of nearly the whole blob: it holds the blob, the
// answer and, while the answer grows, its previous buffer (about 3 to 4).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "blob/blob_lines.h"
#include "blob/blob_subfield.h"
#include "frame/blob_io.h"

// Counts the heap memory held, to show what one call needs at its peak.
namespace {
std::atomic<size_t> g_live{0};
std::atomic<size_t> g_peak{0};
constexpr size_t kHeader = 16;

void* CountedAlloc(size_t size) {
  void* p = std::malloc(size + kHeader);
  if (p == nullptr) throw std::bad_alloc();
  std::memcpy(p, &size, sizeof size);
  const size_t live = g_live.fetch_add(size) + size;
  size_t peak = g_peak.load();
  while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
  }
  return static_cast<char*>(p) + kHeader;
}

void CountedFree(void* p) noexcept {
  if (p == nullptr) return;
  char* block = static_cast<char*>(p) - kHeader;
  size_t size;
  std::memcpy(&size, block, sizeof size);
  g_live.fetch_sub(size);
  std::free(block);
}
}  // namespace

void* operator new(size_t size) { return CountedAlloc(size); }
void* operator new[](size_t size) { return CountedAlloc(size); }
void operator delete(void* p) noexcept { CountedFree(p); }
void operator delete[](void* p) noexcept { CountedFree(p); }
void operator delete(void* p, size_t) noexcept { CountedFree(p); }
void operator delete[](void* p, size_t) noexcept { CountedFree(p); }

namespace {

// A blob served from memory in segments, the way the server's callbacks do.
struct MemoryBlob {
  std::string content;
  size_t pos = 0;

  static int16_t Get(void* handle, unsigned char* buffer, uint16_t size, uint16_t* delivered) {
    auto* self = static_cast<MemoryBlob*>(handle);
    const size_t n = std::min<size_t>(size, self->content.size() - self->pos);
    std::memcpy(buffer, self->content.data() + self->pos, n);
    self->pos += n;
    *delivered = static_cast<uint16_t>(n);
    return n > 0 ? 1 : 0;
  }

  qor::BlobSource Source() {
    pos = 0;
    qor::BlobSource source;
    source.context = this;
    source.get = &Get;
    source.total_length = static_cast<int32_t>(content.size());
    return source;
  }
};

// Setting lines of 40 bytes: "name123456=value..." with LF.
MemoryBlob& Settings(size_t size) {
  static MemoryBlob blob;
  if (blob.content.size() != size) {
    blob.content.clear();
    blob.content.reserve(size);
    for (size_t i = 0; blob.content.size() < size; ++i) {
      std::string line = "name" + std::to_string(i) + "=";
      line.resize(39, static_cast<char>('a' + i % 26));
      line.push_back('\n');
      blob.content.append(line, 0, std::min(line.size(), size - blob.content.size()));
    }
  }
  return blob;
}

// An allocation text of short share lines (about 16 bytes each, the kind
// that makes a table of lines cost more than the blob itself): the field
// line, then "1=4711,A,10.5" with LF, keyed 1, 2, ...
MemoryBlob& Allocation(size_t size) {
  static MemoryBlob blob;
  if (blob.content.size() != size) {
    blob.content = "FELDER=KSTNR,KTRNR,BETRAG\n";
    blob.content.reserve(size);
    for (size_t i = 1; blob.content.size() < size; ++i) {
      const std::string line = std::to_string(i) + "=" + std::to_string(i % 9000) + ",A,1.5\n";
      blob.content.append(line, 0, std::min(line.size(), size - blob.content.size()));
    }
  }
  return blob;
}

template <typename Call>
void RunOnBlob(benchmark::State& state, Call&& call, MemoryBlob& (*content)(size_t) = Settings) {
  const size_t size = static_cast<size_t>(state.range(0));
  MemoryBlob& blob = content(size);
  size_t peak = 0;
  for (auto _ : state) {
    const size_t before = g_live.load();
    g_peak.store(before);
    benchmark::DoNotOptimize(call(blob.Source()));
    peak = std::max(peak, g_peak.load() - before);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
  state.counters["peak_per_byte"] = static_cast<double>(peak) / static_cast<double>(size);
}

void BM_ReadBlobText(benchmark::State& state) {
  RunOnBlob(state, [](const qor::BlobSource& s) { return qor::ReadBlobText(s).text().size(); });
}

// fn_ScanBlob: the text is absent, so the whole blob is folded and searched.
void BM_ScanBlob(benchmark::State& state) {
  RunOnBlob(state, [](const qor::BlobSource& s) {
    qor::BlobText text = qor::ReadBlobText(s);
    return qor::ScanText(text.data(), text.text().size(), "not in the blob");
  });
}

// fn_ListLine ignoring case with a key on no line: every line is folded.
void BM_ListLine(benchmark::State& state) {
  RunOnBlob(state, [](const qor::BlobSource& s) {
    qor::BlobText text = qor::ReadBlobText(s);
    return qor::ListLine(text.text(), "NOT IN THE BLOB", -1).size();
  });
}

// fn_ListLine collecting every line that holds "=" (the result is a copy).
void BM_ListLineAll(benchmark::State& state) {
  RunOnBlob(state, [](const qor::BlobSource& s) {
    qor::BlobText text = qor::ReadBlobText(s);
    return qor::ListLine(text.text(), "=", 0).size();
  });
}

// fn_ListValue with a name on no line: every line is compared.
void BM_ListValue(benchmark::State& state) {
  RunOnBlob(state, [](const qor::BlobSource& s) {
    qor::BlobText text = qor::ReadBlobText(s);
    return qor::ListValue(text.text(), "name-none").size();
  });
}

// fn_BlobSubField over an allocation text of short lines: counting the share
// lines, the value of a key on no line (every line is compared) and the
// value in a line near the end ("#n"). Each reads the lines one at a time:
// time per byte flat, peak_per_byte near 1 like the others.
void BM_BlobSubFieldCount(benchmark::State& state) {
  RunOnBlob(state, [](const qor::BlobSource& s) { return qor::BlobSubField(s, "BETRAG", "?").size(); }, Allocation);
}

void BM_BlobSubFieldKey(benchmark::State& state) {
  RunOnBlob(state, [](const qor::BlobSource& s) { return qor::BlobSubField(s, "BETRAG", "none").size(); },
            Allocation);
}

void BM_BlobSubFieldLine(benchmark::State& state) {
  RunOnBlob(state, [](const qor::BlobSource& s) { return qor::BlobSubField(s, "BETRAG", "#999999").size(); },
            Allocation);
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int64_t mb : {1, 10, 100}) b->Arg(mb << 20);
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ReadBlobText)->Apply(Sizes);
BENCHMARK(BM_ScanBlob)->Apply(Sizes);
BENCHMARK(BM_ListLine)->Apply(Sizes);
BENCHMARK(BM_ListLineAll)->Apply(Sizes);
BENCHMARK(BM_ListValue)->Apply(Sizes);
BENCHMARK(BM_BlobSubFieldCount)->Apply(Sizes);
BENCHMARK(BM_BlobSubFieldKey)->Apply(Sizes);
BENCHMARK(BM_BlobSubFieldLine)->Apply(Sizes);

}  // namespace
