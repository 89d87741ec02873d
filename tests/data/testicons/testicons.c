/* A DLL that only carries icon resources for the intake tests. */
int kelmar_testicons_marker(void) { return 1; }
