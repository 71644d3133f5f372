// Input the host asks the person for: a point, an entity, an entity nested in
// block references. Each call writes its prompt, takes the next action of the
// session and echoes it. Answers: RTNORM with the input, RTNONE for Enter,
// RTERROR for a pick that hit nothing (ask again), RTCAN for Escape, for the
// end of input and for an action that does not fit the request (the session
// is then failed with a message naming the action).
#pragma once

#include "host/api/AdsTypes.h"

// `base` may be null; the answer goes to `result`.
int acedGetPoint(const ads_point base, const char* prompt, ads_point result);
// A point, while the entities of the selection set `ss` follow the cursor
// as `transform` places them for it (it fills the matrix and answers RTNORM,
// or anything else to show them nowhere for that point). The answers of
// acedGetPoint; the entities themselves are left as they are. `cursor` is
// not used.
int acedDragGen(const ads_name ss, const char* prompt, int cursor, int (*transform)(ads_point pt, ads_matrix mt),
                ads_point result);
// An entity of the drawing; a pick inside block references answers the
// outermost reference, a pick of an attribute its block reference.
int acedEntSel(const char* prompt, ads_name entity, ads_point pickPoint);
// The innermost entity picked; `containers` (may be null) receives the block
// references it lies in, innermost first, as RTENAME buffers the caller frees
// with acutRelRb, or null when there are none. `transform` receives the
// identity. `pickFlag` is not used: the person always picks.
int acedNEntSelP(const char* prompt, ads_name entity, ads_point pickPoint, int pickFlag, ads_matrix transform,
                 resbuf** containers);
