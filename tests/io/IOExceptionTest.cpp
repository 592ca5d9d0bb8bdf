//===- tests/io/IOExceptionTest.cpp - the input/output exceptions ---------===//
#include "io/IOException.h"

#include <gtest/gtest.h>

#include "io/EOFException.h"
#include "io/FileNotFoundException.h"
#include "lang/RuntimeException.h"
#include "support/TestSupport.h"

namespace zqio {
namespace {

using zqlang::CZqString;
using zqlang::testing_support::Text;

TEST(IOExceptionTest, FileNotFoundRendersItsNameWithoutMessage) {
  EXPECT_EQ(u"com.zarq.io.FileNotFoundException:\n", Text(FileNotFoundException().toString()));
}

TEST(IOExceptionTest, SubclassesAreCaughtAsIOExceptionAndException) {
  int caught = 0;
  try {
    throw EOFException(CZqString(u"short read"));
  } catch (const zqlang::RuntimeException&) {
    ADD_FAILURE() << "an I/O exception is not a runtime exception";
  } catch (const IOException& e) {
    EXPECT_EQ(u"com.zarq.io.EOFException", Text(e.Throwable::GetFullName()));
    EXPECT_EQ(u"com.zarq.io.IOException", Text(e.GetFullName()));
    ++caught;
  }
  try {
    throw FileNotFoundException(CZqString(u"/nowhere"));
  } catch (const zqlang::Exception& e) {
    EXPECT_EQ(u"com.zarq.io.FileNotFoundException:\n/nowhere\n", Text(e.toString()));
    ++caught;
  }
  EXPECT_EQ(2, caught);
}

}  // namespace
}  // namespace zqio
