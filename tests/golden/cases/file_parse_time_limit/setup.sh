# Invalid Python whose error recovery costs the square of its length: 25,000
# lines of dots (175 KB, minutes without a limit). The parse's time limit
# turns it into a parse error and the other file is still reported.
mkdir -p shop/migrations
{ printf 'x = '; yes '......' | head -n 25000; } >shop/migrations/0001_dots.py
