// Linked with one library taken whole and only what lies beneath it (see CMakeLists.txt): the
// link fails when that library calls into a layer above it. Never run.
int main()
{
    return 0;
}
