from django.db import migrations, models

# Each list names the one before twice: read in full, L24 would hold 2^24
# index builds.
L0 = [migrations.AddIndex("order", models.Index(fields=["a"], name="a_idx"))]
L1 = [migrations.SeparateDatabaseAndState(L0), migrations.SeparateDatabaseAndState(L0)]
L2 = [migrations.SeparateDatabaseAndState(L1), migrations.SeparateDatabaseAndState(L1)]
L3 = [migrations.SeparateDatabaseAndState(L2), migrations.SeparateDatabaseAndState(L2)]
L4 = [migrations.SeparateDatabaseAndState(L3), migrations.SeparateDatabaseAndState(L3)]
L5 = [migrations.SeparateDatabaseAndState(L4), migrations.SeparateDatabaseAndState(L4)]
L6 = [migrations.SeparateDatabaseAndState(L5), migrations.SeparateDatabaseAndState(L5)]
L7 = [migrations.SeparateDatabaseAndState(L6), migrations.SeparateDatabaseAndState(L6)]
L8 = [migrations.SeparateDatabaseAndState(L7), migrations.SeparateDatabaseAndState(L7)]
L9 = [migrations.SeparateDatabaseAndState(L8), migrations.SeparateDatabaseAndState(L8)]
L10 = [migrations.SeparateDatabaseAndState(L9), migrations.SeparateDatabaseAndState(L9)]
L11 = [migrations.SeparateDatabaseAndState(L10), migrations.SeparateDatabaseAndState(L10)]
L12 = [migrations.SeparateDatabaseAndState(L11), migrations.SeparateDatabaseAndState(L11)]
L13 = [migrations.SeparateDatabaseAndState(L12), migrations.SeparateDatabaseAndState(L12)]
L14 = [migrations.SeparateDatabaseAndState(L13), migrations.SeparateDatabaseAndState(L13)]
L15 = [migrations.SeparateDatabaseAndState(L14), migrations.SeparateDatabaseAndState(L14)]
L16 = [migrations.SeparateDatabaseAndState(L15), migrations.SeparateDatabaseAndState(L15)]
L17 = [migrations.SeparateDatabaseAndState(L16), migrations.SeparateDatabaseAndState(L16)]
L18 = [migrations.SeparateDatabaseAndState(L17), migrations.SeparateDatabaseAndState(L17)]
L19 = [migrations.SeparateDatabaseAndState(L18), migrations.SeparateDatabaseAndState(L18)]
L20 = [migrations.SeparateDatabaseAndState(L19), migrations.SeparateDatabaseAndState(L19)]
L21 = [migrations.SeparateDatabaseAndState(L20), migrations.SeparateDatabaseAndState(L20)]
L22 = [migrations.SeparateDatabaseAndState(L21), migrations.SeparateDatabaseAndState(L21)]
L23 = [migrations.SeparateDatabaseAndState(L22), migrations.SeparateDatabaseAndState(L22)]
L24 = [migrations.SeparateDatabaseAndState(L23), migrations.SeparateDatabaseAndState(L23)]


class Migration(migrations.Migration):
    operations = [migrations.SeparateDatabaseAndState(L24)]
