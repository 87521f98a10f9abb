# A 9 MB migration whose syntax tree needs far more memory than the run is
# allowed: tree-sitter's allocation fails inside C code, and the run must end
# as any fatal error does, not abort. AddressSanitizer reserves more address
# space than the limit leaves, so its build skips the case.
if grep -q __asan_init "$TARN"; then echo "AddressSanitizer needs more address space than the limit leaves"; exit 77; fi
mkdir -p app/migrations
{
  printf 'from django.db import migrations\n\n\nclass Migration(migrations.Migration):\n    operations = [\n'
  yes '        migrations.RunSQL("SELECT 1", "SELECT 2"),' | head -n 200000
  printf '    ]\n'
} >app/migrations/0001_big.py
