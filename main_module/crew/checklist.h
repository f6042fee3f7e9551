// Checklist: the pop-up page of the normal checklists, and the position in
// them that the page shows and the checklist voice speaks.
//
// The position is a section (0 the cover page, 1..10 the checklists) and an
// item (0 the checklist's title, then its numbered items; the last one
// declares the checklist completed). A checklist has as many items as it has
// spoken lines after its title, so the page and the voice always agree.
#pragma once

// The last item of checklist `section` (1 to 10); 0 for any other section.
int checklist_last_item(int section);

// The Next Checklist Item step: the next item of the current checklist, or
// past its last item the next checklist's title (after PARKING, PRESTART).
// On the cover page, or with no checklist, nothing happens.
void checklist_next_item();

// The dot beside item `item` of checklist `section`: pixels below its place
// at the first line, with the blank lines of the TAXI and APPROACH pages.
double checklist_marker_offset(int section, double item);

// True when item `item` of checklist `section` is marked with the red dot.
// Items outside the checklist give `previous`.
bool checklist_item_red(int section, int item, bool previous);
