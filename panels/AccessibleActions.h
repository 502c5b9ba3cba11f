#pragma once

// What assistive technology (a screen reader, a test tool through AT-SPI)
// does to a control reaches the page as the user's own action would: a
// "Toggle" or "Press" of a check box or radio button clicks it, and setting
// a slider's value or its "Increase"/"Decrease" drags its thumb there. So
// a page sends exactly as for a click or a drag, and loading values into
// controls (which never clicks or drags) still sends nothing.
//
// Qt's own interfaces change these controls without the signals pages
// listen to (toggled rather than clicked, a value set rather than a drag);
// these replace them for every check box, radio button and slider.
void installAccessibleUserActions();
