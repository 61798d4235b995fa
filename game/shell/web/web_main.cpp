// The page's entry: pictures, sounds and font made ready, the scene built,
// the canvas fitted to the window and the input listened to. main returns
// and the browser's event loop runs the game from then on.
#include "game/audio/web/web_audio.h"
#include "game/model/scene.h"
#include "game/shell/web/web_shell.h"

int main() {
    open_canvas();
    load_pictures();
    prepare_sounds();
    create_scene();
    follow_window_size();
    listen_to_input();
    set_field_cursor(true);
    install_probe();
    record_if_asked();
    // The first frame waits for the label font, so the scoreboard never
    // shows in a stand-in face.
    load_label_font();
    return 0;
}
