#include "core/read_ahead.h"

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quorvel {
namespace {

// A few hundred QSOs at a time pass from the reading thread to the writing one, in a ring of
// slots that are allocated once: memory stays the same whatever the size of the log. While the
// writer waits for one large write of its output, the reader goes on filling slots, so the ring
// is as deep as memory allows: a two-step reader's slots also hold its contacts as read, about
// as large again as the records, so it has fewer of them.
constexpr std::size_t kBatchQsos = 256;
constexpr std::size_t kSlots = 8;
constexpr std::size_t kTwoStepSlots = 6;

// A reader that reads in two steps (LogFile::ReadRawQso) hands over its contacts as it took
// them from the file, `raws`; their records are made by the thread that has less to do.
struct Batch {
  std::vector<QsoRecord> qsos = std::vector<QsoRecord>(kBatchQsos);
  std::vector<std::int64_t> positions = std::vector<std::int64_t>(kBatchQsos);  // after each
  std::vector<RawQso> raws;  // kBatchQsos of them for a two-step reader
  std::size_t count = 0;
  bool made = true;   // the records of `raws` are made
  bool last = false;  // the input ends with this batch
};

// A two-step reader's maker on one of the two threads, and the contacts it found undated.
struct Making {
  std::unique_ptr<QsoMaker> maker;
  int undated = 0;

  void MakeBatch(Batch& batch) {
    for (std::size_t i = 0; i < batch.count; ++i) {
      if (!maker->Make(batch.raws[i], batch.qsos[i])) ++undated;
    }
    batch.made = true;
  }
};

// The ring between the two threads. The reader fills the slot at `head` while fewer than all
// slots are handed over; the writer empties the slot at `tail` while any is. Neither touches
// the other's slot, so only the counts need the lock.
class BatchRing {
 public:
  explicit BatchRing(bool two_steps) : slots(two_steps ? kTwoStepSlots : kSlots) {
    if (two_steps) {
      for (Batch& batch : slots) batch.raws.resize(kBatchQsos);
    }
  }
  Batch& ToFill() { return slots[head % slots.size()]; }
  Batch& ToEmpty() { return slots[tail % slots.size()]; }

  // Reader: waits for a free slot; false when the writer has stopped.
  bool WaitForRoom() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return handed_over < slots.size() || writer_stopped; });
    return !writer_stopped;
  }
  // Reader: true when the writer has a batch waiting besides the one it writes, so that the
  // reader had better make the records of the next batch itself.
  bool WriterHasWork() {
    std::lock_guard lock(mutex);
    return handed_over >= 2;
  }
  void HandOver() {
    {
      std::lock_guard lock(mutex);
      ++head;
      ++handed_over;
    }
    changed.notify_all();
  }
  // Writer: waits for a filled slot.
  void WaitForBatch() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return handed_over > 0; });
  }
  void GiveBack() {
    {
      std::lock_guard lock(mutex);
      ++tail;
      --handed_over;
    }
    changed.notify_all();
  }
  void StopReader() {
    {
      std::lock_guard lock(mutex);
      writer_stopped = true;
    }
    changed.notify_all();
  }

 private:
  std::vector<Batch> slots;
  std::size_t head = 0;
  std::size_t tail = 0;
  std::size_t handed_over = 0;
  bool writer_stopped = false;
  std::mutex mutex;
  std::condition_variable changed;
};

// Fills one batch from the input; true when the input has more. A two-step reader's contacts
// are taken as they stand in the file, their records not yet made.
bool ReadBatch(LogFile& input, Batch& batch, bool two_steps) {
  batch.count = 0;
  batch.made = !two_steps;
  while (batch.count < kBatchQsos) {
    if (input.IsEof()) return false;
    if (!(two_steps ? input.ReadRawQso(batch.raws[batch.count])
                    : input.ReadQso(batch.qsos[batch.count]))) {
      return false;
    }
    batch.positions[batch.count] = input.Tell();
    ++batch.count;
  }
  return true;
}

// The reading thread: batch after batch until the input ends or the writer stops. What the
// reader throws ends the input and is thrown again on the writing thread. While the writer
// has batches waiting, this thread makes the records of a two-step reader's batch itself.
void ReadAll(LogFile& input, BatchRing& ring, Making& making, std::exception_ptr& failure) {
  bool more = true;
  while (more && ring.WaitForRoom()) {
    Batch& batch = ring.ToFill();
    try {
      more = ReadBatch(input, batch, making.maker != nullptr);
      if (!batch.made && ring.WriterHasWork()) making.MakeBatch(batch);
    } catch (...) {
      failure = std::current_exception();
      more = false;
    }
    batch.last = !more;
    ring.HandOver();
  }
}

// The records were filled on the reading core: the first cache lines of a record, where the
// fields every writer looks at lie, are fetched a few records ahead of their writing, so that
// the writer does not wait for them to come over.
constexpr std::size_t kPrefetchAhead = 4;
constexpr std::size_t kPrefetchedBytes = 128;

void PrefetchRecord(const QsoRecord& record) {
  const char* bytes = reinterpret_cast<const char*>(&record);
  for (std::size_t at = 0; at < kPrefetchedBytes && at < sizeof record; at += 64) {
    __builtin_prefetch(bytes + at);
  }
}

// Writes one batch; false when the conversion ends with it.
bool WriteBatch(Converter& converter, Batch& batch, Making& making, ConversionProgress& progress,
                const ProgressCallback& on_step) {
  if (!batch.made) making.MakeBatch(batch);
  for (std::size_t i = 0; i < batch.count; ++i) {
    if (i + kPrefetchAhead < batch.count) PrefetchRecord(batch.qsos[i + kPrefetchAhead]);
    bool writable = converter.WriteRead(batch.qsos[i]);
    progress.position = batch.positions[i];
    progress.count = converter.Converted();
    if (on_step) on_step(progress);
    if (!writable) return false;
  }
  return !batch.last;
}

}  // namespace

void RunReadingAhead(Converter& converter, ConversionProgress& progress,
                     const ProgressCallback& on_step) {
  LogFile* input = converter.Input();
  if (input == nullptr || converter.OutputWriteFailed()) return;
  Making reading{input->NewQsoMaker()};
  Making writing{input->NewQsoMaker()};
  auto ring = std::make_unique<BatchRing>(reading.maker != nullptr);
  std::exception_ptr failure;
  std::thread reader(ReadAll, std::ref(*input), std::ref(*ring), std::ref(reading),
                     std::ref(failure));
  bool more = true;
  try {
    while (more) {
      ring->WaitForBatch();
      more = WriteBatch(converter, ring->ToEmpty(), writing, progress, on_step);
      ring->GiveBack();
    }
  } catch (...) {
    ring->StopReader();
    reader.join();
    throw;
  }
  ring->StopReader();
  reader.join();
  input->AddUndatedQsos(reading.undated + writing.undated);
  if (failure) std::rethrow_exception(failure);
}

}  // namespace quorvel
