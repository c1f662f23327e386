/* The smallest Windows program: the benchmark's measure of what starting a process costs. */
int main(void)
{
    return 0;
}
