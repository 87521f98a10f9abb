# A report of several MiB, a file that cannot be parsed after the first of
# them, and more findings after it.
mkdir -p a/migrations b/migrations c/migrations
{
  printf 'from django.db import migrations, models\n\n\nclass Migration(migrations.Migration):\n    operations = [\n'
  for i in $(seq 1 8000); do
    printf '        migrations.AddIndex(model_name="order", index=models.Index(fields=["n"], name="i%d")),\n' "$i"
  done
  printf '    ]\n'
} > a/migrations/0001_big.py
printf 'x = (\n' > b/migrations/0001_bad.py
cp a/migrations/0001_big.py c/migrations/0001_big.py
