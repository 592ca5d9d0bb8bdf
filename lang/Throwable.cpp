//===- lang/Throwable.cpp - root of the exception family ------------------===//
#include "lang/Throwable.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <ostream>
#include <string>

#include "lang/detail/FullNames.h"
#include "lang/detail/Memory.h"

namespace zqlang {

Throwable::Throwable()
    : mFullName(&detail::kThrowableName),
      mMessage(nullptr),
      mCause(nullptr),
      mStringCache(nullptr) {}

Throwable::Throwable(const CZqString& message) : Throwable() { StoreMessage(message); }

Throwable::Throwable(const CZqString& message, Throwable* cause) : Throwable() {
  mCause = cause;
  StoreMessage(message);
}

Throwable::Throwable(Throwable* cause) : Throwable() {
  mCause = cause;
  if (cause != nullptr)
    StoreMessage(cause->Throwable::toString());
}

Throwable::Throwable(const Throwable& other)
    : mFullName(other.mFullName),
      mMessage(other.mMessage),
      mCause(other.mCause),
      mStringCache(other.mStringCache) {
  other.mMessage = nullptr;
  other.mCause = nullptr;
  other.mStringCache = nullptr;
}

Throwable::~Throwable() {
  DeallocateString();
  delete mMessage;
  mMessage = nullptr;
  // The chain is taken apart link by link, each cause detached before it is
  // deleted, so that a chain of any length is released without recursion.
  Throwable* link = mCause;
  mCause = nullptr;
  while (link != nullptr) {
    Throwable* const next = link->mCause;
    link->mCause = nullptr;
    delete link;
    link = next;
  }
}

void Throwable::StoreMessage(const CZqString& text) noexcept {
  try {
    mMessage = new (std::nothrow) CZqString(text);
  } catch (...) {
    mMessage = nullptr;
  }
}

const CZqString& Throwable::getMessage() const {
  return mMessage != nullptr ? *mMessage : detail::kThrowableName;
}

const CZqString& Throwable::getLocalizedMessage() const { return getMessage(); }

const Throwable* Throwable::getCause() const { return mCause; }

bool Throwable::InChainOf(const Throwable* candidate) const noexcept {
  for (const Throwable* link = candidate; link != nullptr; link = link->mCause) {
    if (link == this)
      return true;
  }
  return false;
}

Throwable& Throwable::initCause(Throwable* cause) {
  // A second cause, or one that would close a loop, stays with the caller.
  if (mCause != nullptr || cause == nullptr || InChainOf(cause))
    return *this;
  mCause = cause;
  if (mMessage == nullptr)
    StoreMessage(cause->Throwable::toString());
  return *this;
}

CZqString Throwable::toString() const {
  if (mStringCache != nullptr)
    return *mStringCache;

  char16_t* buffer = nullptr;
  try {
    const CZqString& name = *mFullName;
    const int nameLength = name.length();
    const int messageLength = mMessage != nullptr ? mMessage->length() : 0;
    // Building the cause's text caches it inside the cause. A cause that
    // could not build its text falls back to its name and caches nothing:
    // then this text cannot be whole either, and falls back the same way.
    int causeLength = 0;
    bool whole = true;
    if (mCause != nullptr) {
      causeLength = mCause->Throwable::toString().length();
      whole = mCause->mStringCache != nullptr;
    }

    const long long room = static_cast<long long>(nameLength) + messageLength + causeLength + 64;
    if (whole && room <= INT_MAX)
      buffer = detail::AllocateArray<char16_t>(room);
    if (buffer != nullptr) {
      int fill = 0;
      auto put = [&](const char16_t* units, int count) {
        std::memcpy(buffer + fill, units, static_cast<std::size_t>(count) * sizeof(char16_t));
        fill += count;
      };
      put(name.Ptr(), nameLength);
      put(u":\n", 2);
      if (messageLength > 0) {
        put(mMessage->Ptr(), messageLength);
        put(u"\n", 1);
      }
      if (causeLength > 0) {
        // The cause's cached text, measured above; once copied, the cause
        // need not keep it.
        const CZqString& causeText = *mCause->mStringCache;
        put(causeText.Ptr(), causeText.length());
        mCause->DeallocateString();
      }
      mStringCache = new (std::nothrow) CZqString(buffer, fill);
      detail::Free(buffer);
      buffer = nullptr;
      if (mStringCache != nullptr)
        return *mStringCache;
    }
  } catch (...) {
    // Any failure while building gives the plain full name below.
  }
  DeallocateString();
  detail::Free(buffer);
  return *mFullName;
}

void Throwable::printStackTrace() {}

Throwable& Throwable::fillInStackTrace() { return *this; }

const CZqString& Throwable::GetFullName() const { return *mFullName; }

void Throwable::DeallocateString() const {
  delete mStringCache;
  mStringCache = nullptr;
}

std::ostream& operator<<(std::ostream& os, const Throwable& t) { return os << t.toString(); }

namespace {

// The handler that was in place before installTerminateHandler().
std::terminate_handler gPreviousTerminate = nullptr;

[[noreturn]] void WriteThrowableAndTerminate() noexcept {
  if (const std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const Throwable& e) {
      // Written in one call, after the text is complete: a failure on the
      // way writes nothing.
      try {
        const std::string text = "terminate: uncaught " + e.toString().toUtf8();
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fflush(stderr);
      } catch (...) {
      }
    } catch (...) {
    }
  }
  if (gPreviousTerminate != nullptr)
    gPreviousTerminate();
  std::abort();
}

}  // namespace

void installTerminateHandler() noexcept {
  static const bool installed = [] {
    gPreviousTerminate = std::set_terminate(WriteThrowableAndTerminate);
    return true;
  }();
  static_cast<void>(installed);
}

}  // namespace zqlang
