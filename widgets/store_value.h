#pragma once
// The first step of the kit's property writers.

// Answers whether `value` differs from `field`, storing it when it does.
template <class T>
bool Store(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}
