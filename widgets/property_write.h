#pragma once
// The one step of the kit's property writers: compare, store, then the effect the writer
// names. Each writer is one line, so the table of a control's property effects can be
// read off its writers at a glance.
#include <cassert>

enum TWriteEffect : unsigned {
  weNone = 0,
  weRepaint = 1,     // paint now (the owner's Repaint)
  weInvalidate = 2,  // paint once the loop settles (the owner's Invalidate)
  weRelayout = 4,    // the owner's geometry is stale (its public Relayout)
  weChanged = 8,     // tell whoever follows the owner (its public Changed)
};
constexpr TWriteEffect operator|(TWriteEffect a, TWriteEffect b) { return TWriteEffect(unsigned(a) | unsigned(b)); }

// Stores `value` in `field` when it differs and then applies `effect` to `owner`, the
// layout first and the paint after it; answers whether the value changed.
template <class Owner, class T, class V>
bool WriteProperty(Owner& owner, T& field, const V& value, TWriteEffect effect = weNone) {
  if (field == value) return false;
  field = value;
  if constexpr (requires { owner.Relayout(); }) {
    if ((effect & weRelayout) != 0) owner.Relayout();
  } else {
    assert((effect & weRelayout) == 0);
  }
  if constexpr (requires { owner.Repaint(); }) {
    if ((effect & weRepaint) != 0) owner.Repaint();
    else if ((effect & weInvalidate) != 0) owner.Invalidate();
  } else {
    assert((effect & (weRepaint | weInvalidate)) == 0);
  }
  if constexpr (requires { owner.Changed(); }) {
    if ((effect & weChanged) != 0) owner.Changed();
  } else {
    assert((effect & weChanged) == 0);
  }
  return true;
}
