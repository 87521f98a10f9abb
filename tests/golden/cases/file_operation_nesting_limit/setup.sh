mkdir -p shop/migrations
chain() { # lists file
  {
    echo 'from django.db import migrations, models'
    echo 'L0 = [migrations.AddIndex("order", models.Index(fields=["a"], name="a_idx"))]'
    for ((i = 1; i < $1; i++)); do
      echo "L$i = [migrations.SeparateDatabaseAndState(database_operations=L$((i - 1)))]"
    done
    echo 'class Migration(migrations.Migration):'
    echo "    operations = [migrations.SeparateDatabaseAndState(database_operations=L$(($1 - 1)))]"
  } > "$2"
}
# Each list nests the one before; the AddIndex of L0 sits as many levels deep
# as there are lists, and 128 levels are decoded.
chain 128 shop/migrations/0001_deepest_allowed.py
chain 129 shop/migrations/0002_one_level_deeper.py
