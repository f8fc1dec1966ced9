/* Placeholder until the model graph is built. */
int main(void) { return 0; }
