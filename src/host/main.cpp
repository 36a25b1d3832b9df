// Program entry: hands the arguments to the host, which runs the game.
#include "host/zibbet_game.h"

int main(int argc, char* argv[]) {
    BBZibbetGame::Main(argc, argv);
    return 0;
}
