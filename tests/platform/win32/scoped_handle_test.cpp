// The scoped handle types close exactly what they own, exactly once: at the end of their scope,
// on reset, on close; never what they handed over, never a failure value.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "platform/win32/scoped_gdi.h"
#include "platform/win32/scoped_handle.h"

namespace {

bool IsOpen(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != FALSE;
}

HANDLE NewEvent() { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }

TEST(ScopedHandle, ClosesWhatItOwnsOnceAndNothingItHandedOver) {
  HANDLE raw = NewEvent();
  {
    const ScopedHandle owned(raw);
    ASSERT_TRUE(owned);
    EXPECT_TRUE(IsOpen(raw));
  }
  EXPECT_FALSE(IsOpen(raw)) << "not closed at the end of its scope";

  ScopedHandle first(NewEvent());
  HANDLE moved = first.get();
  ScopedHandle second(std::move(first));
  EXPECT_FALSE(first);
  EXPECT_EQ(second.get(), moved);
  HANDLE replaced = NewEvent();
  second = ScopedHandle(replaced);
  EXPECT_FALSE(IsOpen(moved)) << "the handle a move assignment replaced stays open";
  EXPECT_TRUE(IsOpen(replaced));
  second.reset(second.get());  // the same handle again: kept, not closed
  EXPECT_TRUE(IsOpen(replaced));

  HANDLE given = ScopedHandle(NewEvent()).release();
  EXPECT_TRUE(IsOpen(given)) << "a released handle was closed";
  ScopedHandle adopted(given);
  EXPECT_TRUE(adopted.close());
  EXPECT_FALSE(IsOpen(given));
  EXPECT_FALSE(adopted);
  EXPECT_TRUE(adopted.close()) << "closing an empty handle is no failure";
}

TEST(ScopedHandle, FailureValuesAreNotHeldAndGdiObjectsGoTheSameWay) {
  EXPECT_FALSE(ScopedHandle(nullptr));
  EXPECT_FALSE(ScopedHandle(INVALID_HANDLE_VALUE));
  const ScopedHandle missing(CreateFileW(L"Z:\\no\\such\\folder\\file.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_FALSE(missing);

  HBITMAP raw = CreateBitmap(4, 4, 1, 32, nullptr);
  ASSERT_NE(raw, nullptr);
  {
    ScopedBitmap bitmap(raw);
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BITMAP));
  }
  EXPECT_EQ(GetObjectType(raw), 0u) << "the bitmap was not deleted";
}

}  // namespace
