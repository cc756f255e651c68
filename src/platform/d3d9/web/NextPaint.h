// Presenting in a browser's page: the picture is shown when the page paints next.
#pragma once

namespace velmora::d3d9 {

// Hands the page back to the browser until its next paint (Asyncify). Every present does,
// so a slow frame never keeps the browser from painting or answering its events, and the
// frames the game draws never run ahead of the ones the page shows. The page counts them
// (Module.framesShown) for the frame time it reports.
void waitForNextPaint();

}  // namespace velmora::d3d9
