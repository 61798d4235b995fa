// The page's entry: the canvas opened, the label face asked for, the scene
// built and fitted to the window (which fetches the pictures it shows) and
// the input listened to. main returns and the browser's event loop runs
// the game from then on; the first frame, once the face and the pictures
// have come, sets the rest going: the other pictures, the sounds, the
// cross-hair cursor, the offline copy and the table of best games.
#include "game/audio/web/web_audio.h"
#include "game/model/scene.h"
#include "game/shell/web/web_shell.h"

int main() {
    open_canvas();
    load_label_font();
    open_audio();
    create_scene();
    follow_window_size();
    listen_to_input();
    install_probe();
    best_games_start();
    return 0;
}
