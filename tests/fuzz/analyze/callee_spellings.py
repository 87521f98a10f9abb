# Callees spelled with blanks, comments, continuations and parentheses.
from alembic import op
import sqlalchemy as sa
from django.db import migrations, models


def upgrade():
    op . create_index('ix', 't', ['a'])
    (op).create_index('ix', 't', ['a'])
    op.\
        add_column('t', sa . Column('g', sa.ForeignKey('u.id'), nullable=False))
    ctx = op . get_context()
    with (ctx).autocommit_block():
        op.create_index('ix', 't', ['a'], postgresql_concurrently=True)
    with op.get_context(  # no arguments
    ).autocommit_block():
        op.drop_index('ix', postgresql_concurrently=True)
    (execute_statement)(db, 'DROP TABLE a')
    return a().b().c(x).d()()


class Migration(migrations.Migration):
    operations = [
        migrations . AddIndex(model_name='m', index=models.Index(fields=['a'], name='i')),
        (migrations).AddField('a', 'f', models . ForeignKey('app.b', on_delete=models.CASCADE)),
        migrations.AddConstraint('m', models.  # comment
            UniqueConstraint(fields=['a'], name='u', condition=models.Q( ))),
        migrations.RunSQL('X', migrations . RunSQL . noop),
    ]
